#include "datumer/cli/preset_flags.hpp"

#include <algorithm>
#include <array>
#include <optional>

#include "common/cli_args.hpp"
#include "common/text.hpp"
#include "datumer/rules/point_rules.hpp"
#include "datumer/rules/setup_rules.hpp"

namespace datumer::cli {

namespace {

constexpr std::string_view kPresetFlag = "--preset";

// The user flags in the order of the set-up screen's fields 1..11.
constexpr std::array<std::string_view, kSetupFieldCount> kUserFlags{
    "--dx", "--dy",    "--dz",        "--wx",    "--wy",       "--wz",
    "--m",  "--src-a", "--src-inv-f", "--dst-a", "--dst-inv-f"};

struct FlagValue {
    std::string name;
    std::string value;
};

int UserFieldOf(std::string_view name) {
    const auto it = std::find(kUserFlags.begin(), kUserFlags.end(), name);
    return it == kUserFlags.end() ? 0 : static_cast<int>(it - kUserFlags.begin()) + 1;
}

std::optional<int> PresetNumber(std::string_view text) {
    bool ok = true;
    const int number = common::ParseUnsignedInt(text, ok);
    if (!ok || !IsPresetNumber(number)) return std::nullopt;
    return number;
}

// Splits the arguments into the preset flags with their values and everything else.
PresetFlagsResult CollectFlags(std::span<const std::string> args,
                               std::span<const std::string_view> valueOptions,
                               std::vector<FlagValue>& flags) {
    std::vector<std::string_view> names = {kPresetFlag};
    names.insert(names.end(), kUserFlags.begin(), kUserFlags.end());
    common::TakenFlags taken = common::TakeFlags(args, names, {}, valueOptions);
    if (!taken.Problem.empty()) return {false, std::move(taken.Problem), {}};
    for (auto& [name, value] : taken.Values) flags.push_back({std::move(name), std::move(value)});
    return {true, {}, std::move(taken.Rest)};
}

}  // namespace

PresetFlagsResult ParsePresetFlags(std::span<const std::string> args, DatumerState& state,
                                   std::span<const std::string_view> valueOptions) {
    std::vector<FlagValue> flags;
    PresetFlagsResult result = CollectFlags(args, valueOptions, flags);
    if (!result.ok) return result;

    int preset = 1;
    for (const FlagValue& flag : flags) {
        if (flag.name != kPresetFlag) continue;
        const std::optional<int> number = PresetNumber(flag.value);
        if (!number) {
            return {false,
                    "Номер варианта преобразования должен быть от 1 до " +
                        std::to_string(kPresetCount) + ": " + flag.value,
                    {}};
        }
        preset = *number;
    }
    state.SelectedPreset = preset;
    for (const FlagValue& flag : flags) {
        const int field = UserFieldOf(flag.name);
        if (field == 0) continue;
        if (preset != kUserPreset) {
            return {
                false,
                "Флаг " + flag.name + " допустим только с --preset " + std::to_string(kUserPreset),
                {}};
        }
        if (EditUserPresetField(state, field, flag.value) != FieldEdit::Accepted) {
            return {false, "Некорректное число для " + flag.name + ": " + flag.value, {}};
        }
    }
    if (const auto message = ValidatePreset(state)) return {false, std::string(*message), {}};
    EnterPointScreen(state);
    return result;
}

std::string PresetFlagsHelp() {
    const std::string last = std::to_string(kPresetCount), user = std::to_string(kUserPreset);
    return "  --preset N        вариант преобразования 1.." + last +
           " (по умолчанию 1)\n"
           "  только с --preset " +
           user +
           " (пользовательские параметры, по умолчанию из варианта 1):\n"
           "  --dx M --dy M --dz M       сдвиг пространственных координат, метры\n"
           "  --wx S --wy S --wz S       поворот системы координат, секунды\n"
           "  --m PPM                    масштабный коэффициент (*0,000001)\n"
           "  --src-a M --src-inv-f F    исходный эллипсоид: A (м) и 1/F\n"
           "  --dst-a M --dst-inv-f F    целевой эллипсоид: A (м) и 1/F\n";
}

}  // namespace datumer::cli
