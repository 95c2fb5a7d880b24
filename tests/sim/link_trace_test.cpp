// The unit link for a service engineer: with [ZyrPan2] Trace the library
// writes every byte both ways, on every kind of link, each chunk after the
// time of day to the millisecond, in zyrpan-unit's format (without the key,
// nothing). The settings file is shared by every operator of the unit, so
// the trace goes only to the standard error or to a new file in the running
// user's own state folder, with outside text escaped.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <regex>
#include <sstream>

#include "sim/frame_codec.h"
#include "sim/library.h"
#include "sim/link_trace.h"
#include "sim/trace_file.h"
#include "sim/transport.h"
#include "tests/support/program_fixture.h"
#include "tests/support/temp_dir.h"

namespace {

namespace fs = std::filesystem;

// HOME and XDG_STATE_HOME for one test, given back afterwards.
class StateHome {
public:
    StateHome(const std::string& home, const char* state) {
        for (const char* name : {"HOME", "XDG_STATE_HOME"})
            if (const char* v = std::getenv(name)) old_.emplace_back(name, v);
        ::setenv("HOME", home.c_str(), 1);
        if (state != nullptr) ::setenv("XDG_STATE_HOME", state, 1);
        else ::unsetenv("XDG_STATE_HOME");
    }
    ~StateHome() {
        ::unsetenv("HOME");
        ::unsetenv("XDG_STATE_HOME");
        for (const auto& [name, value] : old_) ::setenv(name.c_str(), value.c_str(), 1);
    }

private:
    std::vector<std::pair<std::string, std::string>> old_;
};

std::vector<std::string> traceFiles(const std::string& folder) {
    std::vector<std::string> names;
    std::error_code ec;
    for (const auto& e : fs::directory_iterator(folder, ec)) names.push_back(e.path().filename());
    std::sort(names.begin(), names.end());
    return names;
}

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> out;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) out.push_back(line);
    return out;
}

class Trace : public ProgramTest {
protected:
    // In the test's folder, where a relative name would land.
    void SetUp() override {
        ProgramTest::SetUp();
        sim::vResetLibrary();
        fs::current_path(sTempFolder());
    }
    void TearDown() override {
        sim::vResetLibrary();
        fs::current_path(cwd_);
        ProgramTest::TearDown();
    }
    // A run of the library on these [ZyrPan2] keys (nullopt: no such key):
    // Init and SetCommInit, then what the run does; its standard error.
    std::string sRun(const std::optional<std::string>& link, const std::optional<std::string>& trace,
                     const std::function<void()>& then = {}) {
        vSetKey("Link", link, "ZyrPan2");
        vSetKey("Trace", trace, "ZyrPan2");
        vWriteSettings();
        ::testing::internal::CaptureStderr();
        ZyrWeq_Init(sIniPath().c_str(), 1);
        lCommInit_ = ZyrWeq_SetCommInit();
        if (then) then();
        return ::testing::internal::GetCapturedStderr();
    }
    std::string folder() const { return sTempFolder() + "/state/zyr-pan-weq"; }
    // The one file of this run's trace.
    std::string sRunTrace() const {
        const auto names = traceFiles(folder());
        return names.size() == 1 ? zyrtest::readBytes(folder() + "/" + names[0]) : "(" + std::to_string(names.size()) + " files)";
    }

    int32_t lCommInit_ = 0;
    const fs::path cwd_ = fs::current_path();
};

// The link ("serial": a pseudo-terminal whose far side the test plays) and
// the Trace key ("1": a file of the run; "-": no key).
class TraceTargets : public Trace, public ::testing::WithParamInterface<std::pair<std::string, std::string>> {};

// Faults: one direction or one kind of link not traced; bytes traced twice
// or changed; a line without its time of day to the millisecond;
// Trace=stderr ignored; a trace written with no or an empty Trace.
TEST_P(TraceTargets, EveryByteBothWaysWithTheTimeOfDay) {
    const auto& [kind, trace] = GetParam();
    const bool booOff = trace.empty() || trace == "-";
    StateHome home(sTempFolder(), (sTempFolder() + "/state").c_str());
    const std::string c1 = sim::sBuildFrame("c1");
    const int peer = kind == "serial" ? ::posix_openpt(O_RDWR | O_NOCTTY) : -1;
    ASSERT_TRUE(peer < 0 || (::grantpt(peer) == 0 && ::unlockpt(peer) == 0)) << "no pseudo-terminals";
    const std::string err = sRun(peer < 0 ? kind : kind + ":" + ::ptsname(peer),
                                 trace == "-" ? std::nullopt : std::optional(trace), [&] {
                                     EXPECT_EQ(ZyrWeq_Ether232Send(c1.data(), static_cast<int16_t>(c1.size())), 0);
                                     EXPECT_TRUE(peer < 0 || ::write(peer, "\x06", 1) == 1) << "the unit answers ACK";
                                     char buf[1024];
                                     for (int i = 0; i < 200 && ZyrWeq_Ether232Recv(buf) == 0; ++i) ::usleep(5000);
                                     sim::vResetLibrary();
                                 });
    EXPECT_EQ(lCommInit_, 0);
    ::close(peer);
    std::vector<std::string> seen;
    const std::regex re(R"([0-2]\d:[0-5]\d:[0-5]\d\.\d\d\d (.*))");
    std::smatch m;
    for (const std::string& line : lines(trace == "1" ? sRunTrace() : err)) {
        ASSERT_TRUE(std::regex_match(line, m, re)) << line;
        if (m[1].str().rfind("<- ", 0) == 0 || m[1].str().rfind("-> ", 0) == 0 || booOff) seen.push_back(m[1]);
    }
    EXPECT_EQ(seen, (booOff ? std::vector<std::string>{}
                            : std::vector<std::string>{"<- 02 63 31 20 62 34 03  [STX]c1 b4[ETX]", "-> 06  [ACK]"}));
    EXPECT_TRUE(trace == "1" || !fs::exists(folder())) << "no file without Trace=1";
}

INSTANTIATE_TEST_SUITE_P(Targets, TraceTargets,
                         ::testing::Values(std::pair{"sim", "1"}, std::pair{"serial", "1"},
                                           std::pair{"serial", "stderr"}, std::pair{"sim", "-"},
                                           std::pair{"serial", ""}));

// An operator who may edit the shared settings file aims the trace at a
// colleague's shell start-up file, with a command in the Link text.
// Faults: a path (absolute, relative, through a link) or any other value
// than 1 and stderr opened or created; the refusal silent, repeated at each
// reconnection, or traced to the standard error after all.
TEST_F(Trace, AnyOtherValueIsRefusedWithOneLineAndNothingIsWritten) {
    StateHome home(sTempFolder(), (sTempFolder() + "/state").c_str());
    const std::string victim = sTempFolder() + "/bashrc", bashrc = "export PS1='$ '\n";
    zyrtest::writeBytes(victim, bashrc);
    ::symlink(victim.c_str(), (sTempFolder() + "/link").c_str());
    const std::string link = "serial:/nonexistent/$(touch " + sTempFolder() + "/pwned)";
    for (const std::string& value : {victim, std::string("bashrc"), sTempFolder() + "/link", std::string("new.txt"),
                                    std::string("yes"), std::string("STDERR"), std::string("2")}) {
        sim::vResetLibrary();
        const std::string err = sRun(link, value);
        const auto got = lines(err);
        ASSERT_EQ(got.size(), 1u) << value << ":\n" << err;
        EXPECT_EQ(got[0].rfind("zyr.lib: Trace=", 0), 0u) << got[0];
        EXPECT_NE(got[0].find("refused"), std::string::npos) << got[0];
        EXPECT_EQ(got[0].find('$'), std::string::npos) << got[0];
        ::testing::internal::CaptureStderr();
        ZyrWeq_Init(sIniPath().c_str(), 1);
        ZyrWeq_SetCommInit();
        EXPECT_EQ(::testing::internal::GetCapturedStderr(), "") << "told again at each reconnection";
    }
    EXPECT_EQ(zyrtest::readBytes(victim), bashrc);
    EXPECT_FALSE(zyrtest::exists(sTempFolder() + "/new.txt"));
    EXPECT_FALSE(zyrtest::exists(sTempFolder() + "/pwned"));
    EXPECT_FALSE(fs::exists(folder()));
}

// Faults: the file created where XDG_STATE_HOME or a link points it, or
// readable by others; a run appending to an earlier run's file; a
// reconnection starting a new file; a state folder that is a link, belongs
// to someone else or is open to others accepted.
TEST_F(Trace, OneNewPrivateFilePerRunInTheUsersOwnStateFolder) {
    const std::string homeDir = sTempFolder() + "/home";
    fs::create_directory(homeDir);
    StateHome home(homeDir, "relative/state");  // not absolute: not used
    const std::string own = homeDir + "/.local/state/zyr-pan-weq";
    sRun("sim", "1");
    sRun("sim", "1");  // the console reconnects
    struct stat st {};
    ASSERT_EQ(::lstat(own.c_str(), &st), 0) << "the folder is made under ~/.local/state";
    EXPECT_EQ(st.st_mode & 07777, 0700u);
    auto names = traceFiles(own);
    ASSERT_EQ(names.size(), 1u);
    EXPECT_TRUE(std::regex_match(names[0], std::regex(R"(trace-\d{8}-\d{6}-\d{3}-\d+\.txt)"))) << names[0];
    ASSERT_EQ(::lstat((own + "/" + names[0]).c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0600u);
    EXPECT_EQ(st.st_uid, ::geteuid());
    EXPECT_FALSE(fs::exists(sTempFolder() + "/relative"));
    const std::string first = zyrtest::readBytes(own + "/" + names[0]);
    sim::vResetLibrary();
    sRun("sim", "1");  // the next run
    EXPECT_EQ(traceFiles(own).size(), 2u);
    EXPECT_EQ(zyrtest::readBytes(own + "/" + names[0]), first);

    // The folder replaced by a link to someone else's, then not one's own.
    const std::string elsewhere = sTempFolder() + "/elsewhere";
    fs::create_directory(elsewhere);
    fs::rename(own, homeDir + "/old");
    fs::create_directory_symlink(elsewhere, own);
    std::vector<std::pair<std::string, std::function<void()>>> refusals = {{"a link", [] {}}};
    refusals.push_back({"open to others", [&] {
                            fs::remove(own);
                            fs::create_directory(own);
                            ::chmod(own.c_str(), 0770);
                        }});
    if (::geteuid() == 0) refusals.push_back({"another user's", [&] {
                                                  ::chmod(own.c_str(), 0700);
                                                  ASSERT_EQ(::chown(own.c_str(), 65534, 65534), 0);
                                              }});
    for (const auto& [what, make] : refusals) {
        make();
        sim::vResetLibrary();
        const auto err = lines(sRun("sim", "1"));
        ASSERT_EQ(err.size(), 1u) << what;
        EXPECT_EQ(err[0].rfind("zyr.lib: no trace: " + own, 0), 0u) << what << ": " << err[0];
        EXPECT_TRUE(traceFiles(own).empty()) << what;
        EXPECT_TRUE(traceFiles(elsewhere).empty()) << what;
    }
}

// Faults: old files never removed, one too many or too few kept, the newest
// removed instead of the oldest, other files in the folder removed.
TEST_F(Trace, KeepsTheNewestTwentyFiles) {
    StateHome home(sTempFolder(), (sTempFolder() + "/state").c_str());
    fs::create_directories(folder());
    ::chmod(folder().c_str(), 0700);
    for (int n = 10; n < 10 + static_cast<int>(sim::kTraceFilesKept) - 1; ++n)
        zyrtest::writeBytes(folder() + "/trace-20000101-000000-000-" + std::to_string(n) + ".txt", "old\n");
    zyrtest::writeBytes(folder() + "/notes.txt", "the engineer's\n");
    sRun("sim", "1");
    auto names = traceFiles(folder());
    EXPECT_EQ(names.size(), sim::kTraceFilesKept + 1) << "twenty traces, none removed, and the notes";
    EXPECT_EQ(names.front(), "notes.txt");
    EXPECT_EQ(names[1], "trace-20000101-000000-000-10.txt");
    sim::vResetLibrary();
    sRun("sim", "1");
    names = traceFiles(folder());
    EXPECT_EQ(names.size(), sim::kTraceFilesKept + 1);
    EXPECT_EQ(names.front(), "notes.txt");
    EXPECT_EQ(names[1], "trace-20000101-000000-000-11.txt") << "the oldest went";
    EXPECT_EQ(std::count_if(names.begin(), names.end(), [](const auto& n) { return n.rfind("trace-20000101", 0) == 0; }),
              static_cast<long>(sim::kTraceFilesKept) - 2);
}

// Faults: no limit, a file that ends without saying so, a line cut in two,
// lines written after the closing one.
TEST_F(Trace, AFileEndsAtItsSizeLimitWithOneLine) {
    StateHome home(sTempFolder(), (sTempFolder() + "/state").c_str());
    const std::string chunk(4000, '\x01');  // 28 kB of trace a send
    size_t lineBytes = 0;
    sRun("sim", "1", [&] {
        for (int i = 0; i < 200; ++i) ZyrWeq_Ether232Send(chunk.data(), static_cast<int16_t>(chunk.size()));
    });
    const auto all = lines(sRunTrace());
    ASSERT_GT(all.size(), 100u);
    for (const auto& l : all) lineBytes = std::max(lineBytes, l.size() + 1);
    const uint64_t size = fs::file_size(folder() + "/" + traceFiles(folder())[0]);
    EXPECT_LE(size, sim::kTraceFileCap);
    EXPECT_GT(size, sim::kTraceFileCap - lineBytes - 128) << "stopped early";
    EXPECT_NE(all.back().find("size limit"), std::string::npos) << all.back();
    for (size_t i = 2; i + 1 < all.size(); ++i) ASSERT_EQ(all[i].size(), all[2].size()) << "line " << i << " cut";
    ZyrWeq_Ether232Send(chunk.data(), static_cast<int16_t>(chunk.size()));
    EXPECT_EQ(fs::file_size(folder() + "/" + traceFiles(folder())[0]), size);
}

// Faults: a setting's text or the unit's bytes written raw: a newline that
// starts a record of its own, a '$', '`' or '\' a shell would act on,
// terminal escapes, bytes that are not ASCII.
TEST_F(Trace, TextFromOutsideIsEscapedOneRecordALine) {
    StateHome home(sTempFolder(), (sTempFolder() + "/state").c_str());
    sRun("tcp:$(id)`id`\\\xc3\xa9", "1");
    EXPECT_EQ(lCommInit_, sim::kLinkBadSetting);
    const int peer = ::posix_openpt(O_RDWR | O_NOCTTY);
    ASSERT_TRUE(peer >= 0 && ::grantpt(peer) == 0 && ::unlockpt(peer) == 0) << "no pseudo-terminals";
    sRun(std::string("serial:") + ::ptsname(peer), "1", [&] {
        const std::string bytes = "$(id)\n\xc3\xa9\x1b[2J\\";
        ASSERT_EQ(::write(peer, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
        char buf[1024];
        for (int i = 0; i < 200 && ZyrWeq_Ether232Recv(buf) == 0; ++i) ::usleep(5000);
    });
    ::close(peer);
    const std::string text = sRunTrace();
    const auto all = lines(text);
    ASSERT_EQ(all.size(), 4u) << text;  // the header, the refused Link, the link open, the bytes
    EXPECT_EQ(all[1].substr(13), "Link=tcp:\\x24(id)\\x60id\\x60\\x5c\\xc3\\xa9 names no usable link");
    EXPECT_EQ(all[3].substr(13), "-> 24 28 69 64 29 0a c3 a9 1b 5b 32 4a 5c  [24](id)[0a][c3][a9][1b][2J[5c]");
    for (unsigned char c : text) ASSERT_TRUE(c == '\n' || (c >= 0x20 && c < 0x7f && c != '$' && c != '`')) << int(c);
}

}  // namespace
