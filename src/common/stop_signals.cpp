// The flag the stop signals set, and the handlers that set it.

#include "common/stop_signals.hpp"

#include <signal.h>

#include <array>
#include <cstring>

namespace common {
namespace {

// Both are touched by the handler, so both must be lock-free.
static_assert(std::atomic<bool>::is_always_lock_free);
static_assert(std::atomic<int>::is_always_lock_free);

std::atomic<bool> stopRequested{false};
std::atomic<int> firstSignal{0};

constexpr std::array<int, 3> kStopSignals = {SIGINT, SIGTERM, SIGPIPE};
std::array<struct sigaction, kStopSignals.size()> earlierActions{};

extern "C" void OnStopSignal(int number) {
    int none = 0;
    firstSignal.compare_exchange_strong(none, number);
    stopRequested.store(true);
}

}  // namespace

StopSignals::StopSignals() {
    stopRequested.store(false);
    firstSignal.store(0);
    struct sigaction action {};
    action.sa_handler = OnStopSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = 0;  // no SA_RESTART: a waiting read must return
    for (std::size_t i = 0; i < kStopSignals.size(); ++i)
        sigaction(kStopSignals[i], &action, &earlierActions[i]);
}

StopSignals::~StopSignals() {
    for (std::size_t i = 0; i < kStopSignals.size(); ++i)
        sigaction(kStopSignals[i], &earlierActions[i], nullptr);
}

const std::atomic<bool>& StopSignals::Flag() const {
    return stopRequested;
}

int StopSignals::Signal() const {
    return firstSignal.load();
}

int StopSignals::ExitCode() const {
    const int number = Signal();
    return number == 0 ? 0 : 128 + number;
}

std::string StopSignals::Description() const {
    const int number = Signal();
    if (number == 0) return {};
    const char* text = strsignal(number);
    return text != nullptr ? text : "signal " + std::to_string(number);
}

}  // namespace common
