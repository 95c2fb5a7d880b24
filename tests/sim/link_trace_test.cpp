// The unit link for a service engineer: with [ZyrPan2] Trace the library
// writes every byte both ways, on every kind of link, each chunk after the
// time of day to the millisecond, in zyrpan-unit's format (without the key,
// nothing). The settings file is shared by every operator of the unit, so
// the trace goes only to the standard error or to a new file in the running
// user's own state folder, with outside text escaped.
#include <sys/stat.h>

#include <functional>
#include <regex>

#include "sim/link_trace.h"
#include "sim/transport.h"
#include "tests/sim/sim_fixture.h"

namespace {

using namespace simtest;
namespace fs = std::filesystem;

// The test's folder is the current folder, where a relative name would
// land, and home, whose state folder is state/.
class Trace : public SimTest {
protected:
    void SetUp() override {
        SimTest::SetUp();
        for (const char* name : {"HOME", "XDG_STATE_HOME"})
            if (const char* v = std::getenv(name)) env_.emplace_back(name, v);
        ::setenv("HOME", dir_.path().c_str(), 1);
        ::setenv("XDG_STATE_HOME", dir_.file("state").c_str(), 1);
        fs::current_path(dir_.path());
    }
    void TearDown() override {
        fs::current_path(cwd_);
        ::unsetenv("HOME");
        ::unsetenv("XDG_STATE_HOME");
        for (const auto& [name, value] : env_) ::setenv(name.c_str(), value.c_str(), 1);
        SimTest::TearDown();
    }
    // A run of the library on these [ZyrPan2] keys: Init and SetCommInit,
    // then what the run does; its standard error.
    std::string sRun(const std::string& keys, const std::function<void()>& then = {}) {
        ::testing::internal::CaptureStderr();
        lib_.Init(sIni(keys, false).c_str(), 1);
        lCommInit_ = lib_.SetCommInit();
        if (then) then();
        return ::testing::internal::GetCapturedStderr();
    }
    // Reads the link until something came, 1 s at most.
    void vAwait() {
        for (int i = 0; i < 200 && line_.lPoll(0) == 0; ++i) ::usleep(5000);
    }
    std::string folder() const { return dir_.file("state/zyr-pan-weq"); }
    // The one file of this run's trace.
    std::string sRunTrace() const {
        const Texts files = names(folder());
        return files.size() == 1 ? zyrtest::readBytes(folder() + "/" + files[0]) : std::to_string(files.size()) + " files";
    }

    int32_t lCommInit_ = 0;
    const fs::path cwd_ = fs::current_path();
    std::vector<std::pair<std::string, std::string>> env_;
};

// The link ("serial": a pseudo-terminal whose far side the test plays) and
// the Trace key ("1": a file of the run; "-": no key).
class TraceTargets : public Trace, public ::testing::WithParamInterface<std::pair<std::string, std::string>> {};

// Faults: one direction or one kind of link not traced; bytes traced twice
// or changed; a line without its time of day to the millisecond;
// Trace=stderr ignored; a trace written with no or an empty Trace.
TEST_P(TraceTargets, EveryByteBothWaysWithTheTimeOfDay) {
    const std::string &kind = GetParam().first, &trace = GetParam().second;
    const bool booOff = trace.empty() || trace == "-";
    Pty unit;
    ASSERT_TRUE(kind == "sim" || !unit.device.empty()) << "no pseudo-terminals";
    const std::string err = sRun("Link=" + (kind == "sim" ? kind : "serial:" + unit.device) + (trace == "-" ? "" : "\nTrace=" + trace), [&] {
        EXPECT_EQ(line_.lSend("c1"), 0);
        EXPECT_TRUE(kind == "sim" || ::write(unit.fd, "\x06", 1) == 1) << "the unit answers ACK";
        vAwait();
        sim::vResetLibrary();
    });
    EXPECT_EQ(lCommInit_, 0);
    Texts seen;
    const std::regex re(R"([0-2]\d:[0-5]\d:[0-5]\d\.\d\d\d (.*))");
    std::smatch m;
    for (const std::string& line : split(trace == "1" ? sRunTrace() : err, '\n')) {
        ASSERT_TRUE(std::regex_match(line, m, re)) << line;
        if (m[1].str().rfind("<- ", 0) == 0 || m[1].str().rfind("-> ", 0) == 0 || booOff) seen.push_back(m[1]);
    }
    EXPECT_EQ(seen, (booOff ? Texts{} : Texts{"<- 02 63 31 20 62 34 03  [STX]c1 b4[ETX]", "-> 06  [ACK]"}));
    EXPECT_TRUE(trace == "1" || !zyrtest::exists(folder())) << "no file without Trace=1";
}

INSTANTIATE_TEST_SUITE_P(Targets, TraceTargets,
                         ::testing::Values(std::pair{"sim", "1"}, std::pair{"serial", "1"}, std::pair{"serial", "stderr"},
                                           std::pair{"sim", "-"}, std::pair{"serial", ""}));

// An operator who may edit the shared settings file aims the trace at a
// colleague's shell start-up file, with a command in the Link text.
// Faults: a path (absolute, relative, through a link) or any other value
// than 1 and stderr opened or created; the refusal silent, repeated at each
// reconnection, or traced to the standard error after all.
TEST_F(Trace, AnyOtherValueIsRefusedWithOneLineAndNothingIsWritten) {
    const std::string victim = dir_.file("bashrc"), bashrc = "export PS1='$ '\n";
    zyrtest::writeBytes(victim, bashrc);
    ::symlink(victim.c_str(), dir_.file("link").c_str());
    const std::string link = "Link=serial:/nonexistent/$(touch " + dir_.file("pwned") + ")\nTrace=";
    for (const std::string& value : Texts{victim, "bashrc", dir_.file("link"), "new.txt", "yes", "STDERR", "2"}) {
        sim::vResetLibrary();
        const Texts got = split(sRun(link + value), '\n');
        ASSERT_EQ(got.size(), 1u) << value;
        EXPECT_EQ(got[0].rfind("zyr.lib: Trace=", 0), 0u) << got[0];
        EXPECT_NE(got[0].find("refused"), std::string::npos) << got[0];
        EXPECT_EQ(got[0].find('$'), std::string::npos) << got[0];
        EXPECT_EQ(sRun(link + value), "") << "told again at each reconnection";
    }
    EXPECT_EQ(zyrtest::readBytes(victim), bashrc);
    EXPECT_EQ(names(dir_.path()), (Texts{"ZYR_PAN_WEQ.ini", "bashrc", "link"})) << "no new.txt, pwned or state folder";
}

// Faults: the file created where XDG_STATE_HOME or a link points it, or
// readable by others; a run appending to an earlier run's file; a
// reconnection starting a new file; a state folder that is a link, belongs
// to someone else or is open to others accepted.
TEST_F(Trace, OneNewPrivateFilePerRunInTheUsersOwnStateFolder) {
    const std::string home = dir_.file("home"), own = home + "/.local/state/zyr-pan-weq";
    fs::create_directory(home);
    ::setenv("HOME", home.c_str(), 1);
    ::setenv("XDG_STATE_HOME", "relative/state", 1);  // not absolute: not used
    sRun("Link=sim\nTrace=1");
    sRun("Link=sim\nTrace=1");  // the console reconnects
    struct stat st {};
    ASSERT_EQ(::lstat(own.c_str(), &st), 0) << "the folder is made under ~/.local/state";
    EXPECT_EQ(st.st_mode & 07777, 0700u);
    const Texts files = names(own);
    ASSERT_EQ(files.size(), 1u);
    EXPECT_TRUE(std::regex_match(files[0], std::regex(R"(trace-\d{8}-\d{6}-\d{3}-\d+\.txt)"))) << files[0];
    ASSERT_EQ(::lstat((own + "/" + files[0]).c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0600u);
    EXPECT_EQ(st.st_uid, ::geteuid());
    EXPECT_FALSE(fs::exists(dir_.file("relative")));
    const std::string first = zyrtest::readBytes(own + "/" + files[0]);
    sim::vResetLibrary();
    sRun("Link=sim\nTrace=1");  // the next run
    EXPECT_EQ(names(own).size(), 2u);
    EXPECT_EQ(zyrtest::readBytes(own + "/" + files[0]), first);

    // The folder replaced by a link to someone else's, then not one's own.
    const std::string elsewhere = dir_.file("elsewhere");
    fs::create_directory(elsewhere);
    fs::rename(own, home + "/old");
    fs::create_directory_symlink(elsewhere, own);
    const std::pair<const char*, std::function<void()>> refusals[] = {
        {"a link", [] {}},
        {"open to others", [&] { fs::remove(own), fs::create_directory(own), ::chmod(own.c_str(), 0770); }},
        {"another user's", [&] { ::chmod(own.c_str(), 0700), ::chown(own.c_str(), 65534, 65534); }}};
    for (const auto& [what, make] : refusals) {
        if (::geteuid() != 0 && what == refusals[2].first) break;  // only root can give the folder away
        make();
        sim::vResetLibrary();
        const Texts err = split(sRun("Link=sim\nTrace=1"), '\n');
        ASSERT_EQ(err.size(), 1u) << what;
        EXPECT_EQ(err[0].rfind("zyr.lib: no trace: " + own, 0), 0u) << what << ": " << err[0];
        EXPECT_TRUE(names(own).empty() && names(elsewhere).empty()) << what;
    }
}

// Faults: old files never removed, one too many or too few kept, the newest
// removed instead of the oldest, other files in the folder removed.
TEST_F(Trace, KeepsTheNewestTwentyFiles) {
    fs::create_directories(folder());
    ::chmod(folder().c_str(), 0700);
    for (int n = 10; n < 29; ++n) zyrtest::writeBytes(folder() + "/trace-20000101-000000-000-" + std::to_string(n) + ".txt", "");
    zyrtest::writeBytes(folder() + "/notes.txt", "the engineer's\n");
    for (int run = 0; run < 2; ++run) {
        sim::vResetLibrary();
        sRun("Link=sim\nTrace=1");
        const Texts files = names(folder());
        ASSERT_EQ(files.size(), 21u) << "twenty traces and the notes";
        EXPECT_EQ(files[0], "notes.txt");
        EXPECT_EQ(files[1], "trace-20000101-000000-000-1" + std::to_string(run) + ".txt") << "the oldest went";
        EXPECT_EQ(std::count_if(files.begin(), files.end(), [](const auto& n) { return n.rfind("trace-20000101", 0) == 0; }),
                  19 - run) << "the runs' own files kept";
    }
}

// Faults: no limit, a file that ends without saying so, a line cut in two,
// lines written after the closing one.
TEST_F(Trace, AFileEndsAtItsSizeLimitOf4MiBWithOneLine) {
    const std::string chunk(4000, '\x01');  // 28 kB of trace a send
    auto vSend = [&] { lib_.Ether232Send(chunk.data(), static_cast<int16_t>(chunk.size())); };
    sRun("Link=sim\nTrace=1", [&] {
        for (int i = 0; i < 200; ++i) vSend();
    });
    const Texts all = split(sRunTrace(), '\n');
    ASSERT_GT(all.size(), 100u);
    size_t longest = 0;
    for (const auto& l : all) longest = std::max(longest, l.size() + 1);
    auto size = [&] { return fs::file_size(folder() + "/" + names(folder())[0]); };
    const uint64_t full = size();
    EXPECT_LE(full, 4u << 20);
    EXPECT_GT(full, (4u << 20) - longest - 128) << "stopped early";
    EXPECT_NE(all.back().find("size limit"), std::string::npos) << all.back();
    for (size_t i = 2; i + 1 < all.size(); ++i) ASSERT_EQ(all[i].size(), all[2].size()) << "line " << i << " cut";
    vSend();
    EXPECT_EQ(size(), full);
}

// Faults: a setting's text or the unit's bytes written raw: a newline that
// starts a record of its own, a '$', '`' or '\' a shell would act on,
// terminal escapes, bytes that are not ASCII; the NAK not named.
TEST_F(Trace, TextFromOutsideIsEscapedOneRecordALine) {
    sRun("Link=tcp:$(id)`id`\\\xc3\xa9\nTrace=1");
    EXPECT_EQ(lCommInit_, sim::kLinkBadSetting);
    Pty unit;
    ASSERT_FALSE(unit.device.empty()) << "no pseudo-terminals";
    sRun("Link=serial:" + unit.device + "\nTrace=1", [&] {
        const std::string bytes = "$(id)\n\xc3\xa9\x1b[2J\\\x15\x7f";
        ASSERT_EQ(::write(unit.fd, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
        vAwait();
    });
    const std::string text = sRunTrace();
    const Texts all = split(text, '\n');
    ASSERT_EQ(all.size(), 4u) << text;  // the header, the refused Link, the link open, the bytes
    EXPECT_EQ(all[1].substr(13), "Link=tcp:\\x24(id)\\x60id\\x60\\x5c\\xc3\\xa9 names no usable link");
    EXPECT_EQ(all[3].substr(13), "-> 24 28 69 64 29 0a c3 a9 1b 5b 32 4a 5c 15 7f  [24](id)[0a][c3][a9][1b][2J[5c][NAK][7f]");
    for (unsigned char c : text) ASSERT_TRUE(c == '\n' || (c >= 0x20 && c < 0x7f && c != '$' && c != '`')) << int(c);
}

}  // namespace
