#pragma once
// tavrinctl run as a user runs it: the built program in a child process, in an environment the test
// sets up, with what it prints on each stream and its exit status.
#include <stdio.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <map>
#include <string>
#include <vector>

#include "support/FileText.h"
#include "support/ScratchHome.h"

namespace tavrin::test {

struct CtlRun {
    int status = -1;  // the exit status; -1 when the program did not exit (a crash)
    std::string out, err;
};

class CtlRunner {
  public:
    // The user's folders are `home`'s; zones come from the tests' pinned folder.
    explicit CtlRunner(const ScratchHome& home) : home_(home) {
        for (const auto& [name, value] : home.environment()) env_[name] = value;
        // English names whatever language the tester's own session uses; a test sets another.
        env_["LC_ALL"] = "C";
    }

    void setEnv(const std::string& name, const std::string& value) { env_[name] = value; }

    CtlRun run(std::vector<std::string> args) const {
        const std::string outFile = home_.file("ctl-out"), errFile = home_.file("ctl-err");
        const std::string program = std::string(TAVRIN_BINARY_DIR) + "/src/tavrinctl";
        const pid_t child = ::fork();
        if (child == 0) {
            for (const auto& [name, value] : env_) ::setenv(name.c_str(), value.c_str(), 1);
            if (!::freopen("/dev/null", "r", stdin) || !::freopen(outFile.c_str(), "w", stdout) ||
                !::freopen(errFile.c_str(), "w", stderr))
                ::_exit(120);
            std::vector<char*> argv{const_cast<char*>(program.c_str())};
            for (std::string& a : args) argv.push_back(a.data());
            argv.push_back(nullptr);
            ::execv(program.c_str(), argv.data());
            ::_exit(127);
        }
        CtlRun r;
        int status = 0;
        if (child > 0 && ::waitpid(child, &status, 0) == child && WIFEXITED(status))
            r.status = WEXITSTATUS(status);
        r.out = readFile(outFile);
        r.err = readFile(errFile);
        return r;
    }

  private:
    const ScratchHome& home_;
    std::map<std::string, std::string> env_;
};

}  // namespace tavrin::test
