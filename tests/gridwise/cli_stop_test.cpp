// gridwise-cli stopped by a signal in the middle of a large file, and its exit status when stdin
// or stdout fail: the real program in a child process, files in a fresh folder.

#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "../common/test_folder.hpp"

namespace {

namespace fs = std::filesystem;
using testfiles::ReadBytes;
using testfiles::WriteBytes;

constexpr auto kPatience = std::chrono::seconds(60);  // generous: machines may be busy

// One run of the tool: its standard descriptors are files or the descriptor given.
class Child {
  public:
    // `stdinPath` empty: stdin closed. stdout and stderr go to files, or stdout to `stdoutFd`.
    Child(const std::vector<std::string>& args, const std::string& stdinPath,
          const fs::path& stdoutPath, const fs::path& stderrPath, int stdoutFd = -1) {
        std::vector<std::string> all{GRIDWISE_CLI};
        all.insert(all.end(), args.begin(), args.end());
        std::vector<char*> argv;
        for (std::string& arg : all) argv.push_back(arg.data());
        argv.push_back(nullptr);
        pid_ = ::fork();
        if (pid_ != 0) return;
        // The child: only async-signal-safe calls until exec.
        if (stdinPath.empty()) {
            ::close(STDIN_FILENO);
        } else {
            Redirect(::open(stdinPath.c_str(), O_RDONLY), STDIN_FILENO);
        }
        Redirect(stdoutFd >= 0 ? ::dup(stdoutFd)
                               : ::open(stdoutPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600),
                 STDOUT_FILENO);
        Redirect(::open(stderrPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600), STDERR_FILENO);
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    ~Child() {
        if (pid_ > 0 && !status_) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
        }
    }
    Child(const Child&) = delete;
    Child& operator=(const Child&) = delete;

    pid_t Pid() const { return pid_; }
    bool Running() { return Status() == std::nullopt; }

    // The exit code once the child ended; -1 when a signal ended it or it had to be killed.
    int Wait() {
        const auto until = std::chrono::steady_clock::now() + kPatience;
        while (Running() && std::chrono::steady_clock::now() < until)
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        if (Running()) {
            ADD_FAILURE() << "the tool did not end";
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
            status_ = 0x7f;
            return -1;
        }
        return WIFEXITED(*status_) ? WEXITSTATUS(*status_) : -1;
    }

  private:
    static void Redirect(int from, int to) {
        if (from < 0) ::_exit(126);
        ::dup2(from, to);
        ::close(from);
    }
    std::optional<int> Status() {
        if (status_) return status_;
        int status = 0;
        if (::waitpid(pid_, &status, WNOHANG) == pid_) status_ = status;
        return status_;
    }

    pid_t pid_ = -1;
    std::optional<int> status_;
};

// True once the process has a handler for `signal` (its caught-signals mask in /proc).
bool Catches(pid_t pid, int signal) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line)) {
        if (!line.starts_with("SigCgt:")) continue;
        const unsigned long long mask = std::stoull(line.substr(7), nullptr, 16);
        return ((mask >> (signal - 1)) & 1u) != 0;
    }
    return false;
}

class CliStop : public ::testing::Test {
  protected:
    testfiles::TempFolder folder;
    testfiles::TempFolder outputs;  // stdout and stderr of the runs, outside the data folder

    fs::path Out() const { return outputs / "stdout"; }
    fs::path Err() const { return outputs / "stderr"; }

    // Names in RECALC, hidden ones included.
    std::vector<std::string> RecalcNames() const {
        std::vector<std::string> names;
        std::error_code error;
        for (const auto& entry : fs::directory_iterator(folder / "RECALC", error))
            names.push_back(entry.path().filename().string());
        return names;
    }

    // The temporary file of `name` in RECALC, when it is there.
    std::optional<fs::path> TemporaryOf(const std::string& name) const {
        for (const std::string& entry : RecalcNames())
            if (entry.starts_with("." + name + ".part-")) return folder / "RECALC" / entry;
        return std::nullopt;
    }
};

// Point lines, about 27 bytes each.
std::string PointLines(int count) {
    std::string lines;
    lines.reserve(static_cast<std::size_t>(count) * 28);
    for (int i = 0; i < count; ++i)
        lines
            .append("p")  // appended: GCC 12 at -O3 warns falsely of "text" + std::string
            .append(std::to_string(i))
            .append(",55.")
            .append(std::to_string(100000 + i % 900000))
            .append(",37.5,1\n");
    return lines;
}

TEST_F(CliStop, ASignalInTheMiddleOfAFileLeavesOnlyCompleteTargets) {
    const std::string small = PointLines(100);
    const std::string large = PointLines(2'000'000);  // about 50 MB
    WriteBytes(folder / "1.txt", small);
    WriteBytes(folder / "2.txt", large);
    const fs::path first = (folder / "1.txt"), second = (folder / "2.txt");

    // The complete first target, for comparison.
    {
        Child whole({"convert", "--format", "txt", first.string()}, "/dev/null", Out(), Err());
        ASSERT_EQ(whole.Wait(), 0) << ReadBytes(Err());
    }
    const std::string firstTarget = ReadBytes(folder / "RECALC" / "1.txt");
    ASSERT_FALSE(firstTarget.empty());

    const struct {
        int signal;
        int exitCode;
        const char* reason;
    } cases[] = {{SIGINT, 130, "Interrupt"}, {SIGTERM, 143, "Terminated"}};
    for (const auto& c : cases) {
        fs::remove_all(folder / "RECALC");
        Child run({"convert", "--format", "txt", first.string(), second.string()}, "/dev/null",
                  Out(), Err());
        // Mid-file: the second target's temporary file holds bytes but not half of them. The
        // tool is held still while that is checked, so the signal finds it there.
        bool midFile = false;
        const auto until = std::chrono::steady_clock::now() + kPatience;
        while (!midFile && run.Running() && std::chrono::steady_clock::now() < until) {
            const std::optional<fs::path> temporary = TemporaryOf("2.txt");
            std::error_code error;
            if (temporary && fs::file_size(*temporary, error) > 0 && !error) {
                ::kill(run.Pid(), SIGSTOP);
                int stopped = 0;
                ::waitpid(run.Pid(), &stopped, WUNTRACED);  // until it really stands still
                const std::uintmax_t size = fs::file_size(*temporary, error);
                midFile = !error && size < large.size() / 2;
                if (!midFile) ::kill(run.Pid(), SIGCONT);
            }
            if (!midFile) std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        ASSERT_TRUE(midFile) << "the run was not caught in the middle of the large file";
        ::kill(run.Pid(), c.signal);
        ::kill(run.Pid(), SIGCONT);
        EXPECT_EQ(run.Wait(), c.exitCode) << c.reason;

        // Only the complete first target under its name, nothing temporary.
        EXPECT_EQ(RecalcNames(), std::vector<std::string>{"1.txt"}) << c.reason;
        EXPECT_EQ(ReadBytes(folder / "RECALC" / "1.txt"), firstTarget) << c.reason;
        EXPECT_EQ(ReadBytes(second), large);
        // The stopped summary and the given-up file on stderr, nothing on stdout.
        const std::string err = ReadBytes(Err());
        EXPECT_NE(err.find("Файл не создан. (" + second.string() + ": " + c.reason + ")"),
                  std::string::npos)
            << err;
        EXPECT_NE(err.find("ПЕРЕСЧЁТ ОСТАНОВЛЕН"), std::string::npos) << err;
        EXPECT_NE(err.find("Создано           : 1 файлов"), std::string::npos) << err;
        EXPECT_EQ(ReadBytes(Out()), "");
    }

    // Stopped in the only file: the RECALC the run created goes as well.
    fs::remove_all(folder / "RECALC");
    Child only({"convert", "--format", "txt", second.string()}, "/dev/null", Out(), Err());
    const auto until = std::chrono::steady_clock::now() + kPatience;
    while (!TemporaryOf("2.txt") && only.Running() && std::chrono::steady_clock::now() < until)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    ::kill(only.Pid(), SIGINT);
    EXPECT_EQ(only.Wait(), 130);
    EXPECT_FALSE(fs::exists(folder / "RECALC"));
}

TEST_F(CliStop, AClosedPipeStopsAStreamWith141) {
    WriteBytes(folder / "in.txt", PointLines(1'000'000));
    int pipeEnds[2];
    ASSERT_EQ(::pipe2(pipeEnds, O_CLOEXEC), 0);  // the child keeps no read end
    Child run({"convert", "--format", "txt", "-"}, (folder / "in.txt").string(), Out(), Err(),
              pipeEnds[1]);
    ::close(pipeEnds[1]);
    // Read a little, then go away as `head` does.
    char buffer[4096];
    EXPECT_GT(::read(pipeEnds[0], buffer, sizeof buffer), 0);
    ::close(pipeEnds[0]);
    EXPECT_EQ(run.Wait(), 141);
    EXPECT_NE(ReadBytes(Err()).find("Пересчёт остановлен."), std::string::npos) << ReadBytes(Err());
}

TEST_F(CliStop, ASignalEndsAStreamThatWaitsForInputOrForItsReader) {
    // Input that never comes: the writing end stays open and silent.
    int input[2];
    ASSERT_EQ(::pipe2(input, O_CLOEXEC), 0);
    const std::string waitingInput = "/proc/self/fd/" + std::to_string(input[0]);
    {
        Child run({"convert", "--format", "txt", "-"}, waitingInput, Out(), Err());
        const auto until = std::chrono::steady_clock::now() + kPatience;
        while (!Catches(run.Pid(), SIGINT) && run.Running() &&
               std::chrono::steady_clock::now() < until)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        ::kill(run.Pid(), SIGINT);
        EXPECT_EQ(run.Wait(), 130);
    }
    ::close(input[0]);
    ::close(input[1]);

    // A reader that takes nothing: the run is stopped once the pipe is full and it has to wait.
    WriteBytes(folder / "in.txt", PointLines(200'000));
    int output[2];
    ASSERT_EQ(::pipe2(output, O_CLOEXEC), 0);
    const int capacity = ::fcntl(output[0], F_GETPIPE_SZ);
    ASSERT_GT(capacity, 0);
    Child run({"convert", "--format", "txt", "-"}, (folder / "in.txt").string(), Out(), Err(),
              output[1]);
    int waiting = 0;
    const auto until = std::chrono::steady_clock::now() + kPatience;
    while (waiting < capacity && run.Running() && std::chrono::steady_clock::now() < until) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
        ASSERT_EQ(::ioctl(output[0], FIONREAD, &waiting), 0);
    }
    EXPECT_EQ(waiting, capacity);
    ::kill(run.Pid(), SIGINT);
    EXPECT_EQ(run.Wait(), 130);
    EXPECT_NE(ReadBytes(Err()).find("Пересчёт остановлен. (Interrupt)"), std::string::npos)
        << ReadBytes(Err());
    ::close(output[0]);
    ::close(output[1]);
}

TEST_F(CliStop, FailingStdinOrStdoutIsAFailureInEveryCommand) {
    WriteBytes(folder / "in.txt", "a,55,37,1\n");
    const std::string in = (folder / "in.txt").string();
    const bool haveFull = fs::exists("/dev/full");
    const struct {
        std::vector<std::string> args;
        std::string stdinPath;  // empty: closed
        bool fullStdout;
        std::string message;
    } cases[] = {
        {{"point", "55", "37"},
         "/dev/null",
         true,
         "Ошибка записи в стандартный вывод! (stdout: No space left on device)"},
        {{"point", "--json", "55", "37"}, "/dev/null", true, "No space left on device"},
        {{"--help"}, "/dev/null", true, "No space left on device"},
        {{"--version"}, "/dev/null", true, "No space left on device"},
        {{"convert", "--format", "txt", "-"},
         in,
         true,
         "Ошибка записи целевого файла! (stdout: No space left on device)"},
        // The targets are made, but the log the user reads is lost.
        {{"convert", "--format", "txt", in},
         "/dev/null",
         true,
         "Ошибка записи в стандартный вывод! (stdout: No space left on device)"},
        {{"convert", "--format", "txt", "-"},
         folder.path().string(),
         false,
         "Ошибка чтения исходного файла! (stdin: Is a directory)"},
        {{"convert", "--format", "txt", "-"},
         "",
         false,
         "Ошибка чтения исходного файла! (stdin: Bad file descriptor)"},
    };
    for (const auto& c : cases) {
        if (c.fullStdout && !haveFull) continue;
        Child run(c.args, c.stdinPath, c.fullStdout ? fs::path("/dev/full") : Out(), Err());
        EXPECT_EQ(run.Wait(), 1) << c.args.front() << " " << c.stdinPath;
        EXPECT_NE(ReadBytes(Err()).find(c.message), std::string::npos)
            << c.args.front() << ": " << ReadBytes(Err());
    }
}

TEST_F(CliStop, APipeOrDeviceAsSourceIsRefusedWithoutBlocking) {
    ASSERT_EQ(::mkfifo((folder / "pipe.txt").c_str(), 0600), 0);
    Child run({"convert", "--format", "txt", (folder / "pipe.txt").string()}, "/dev/null", Out(),
              Err());
    EXPECT_EQ(run.Wait(), 1);  // Wait gives up and fails after a generous while: no hang
    const std::string err = ReadBytes(Err());
    EXPECT_NE(err.find("Невозможно открыть исходный файл! (" + (folder / "pipe.txt").string() +
                       ": не обычный файл"),
              std::string::npos)
        << err;
    EXPECT_NE(ReadBytes(Out()).find("Невозможно открыть исходный файл!\n"), std::string::npos);
    // Nothing was created: the run's RECALC is gone again.
    EXPECT_FALSE(fs::exists(folder / "RECALC"));
}

}  // namespace
