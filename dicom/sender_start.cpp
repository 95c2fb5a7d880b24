#include "dicom/sender_start.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>

#include "platform/program_folder.h"

std::string sSenderPath(const std::string& sProgramFolder) { return sProgramFolder + "/zyr-pan-weq-store"; }

bool booStartSenderIfIdle(const std::string& sProgramFolder) {
    const std::string sPath = sSenderPath(sProgramFolder);
    if (::access(sPath.c_str(), X_OK) != 0) return false;
    // Everything the child needs is made before the fork: between fork and
    // exec only async-signal-safe calls.
    char sOnce[] = "--once";
    char* const argv[] = {const_cast<char*>(sPath.c_str()), sOnce, nullptr};
    const pid_t child = ::fork();
    if (child < 0) return false;
    if (child == 0) {
        ::setsid();
        // The grandchild is the sender; the child ends at once, so the
        // sender is nobody's child to wait for and outlives the console.
        if (::fork() != 0) ::_exit(0);
        const int fdNull = ::open("/dev/null", O_RDWR);
        if (fdNull >= 0) {
            ::dup2(fdNull, 0);
            ::dup2(fdNull, 1);
            ::dup2(fdNull, 2);
        }
        ::close_range(3, ~0U, 0);
        ::execv(argv[0], argv);
        ::_exit(127);
    }
    int iStatus = 0;
    while (::waitpid(child, &iStatus, 0) < 0 && errno == EINTR) {
    }
    return WIFEXITED(iStatus) && WEXITSTATUS(iStatus) == 0;
}

void vStartSenderIfIdle() { (void)booStartSenderIfIdle(platform::sProgramFolder()); }
