#include "tools/lreverb/presets_command.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iomanip>
#include <iostream>
#include <vector>

#include "editor/control_table.h"
#include "editor/value_text.h"
#include "presets/block_codec.h"
#include "presets/install_factory_presets.h"
#include "presets/user_store.h"
#include "tools/lreverb/params_file.h"

namespace lumra {
namespace {

constexpr std::string_view Usage =
    "usage: lreverb presets [list | show NAME | store NAME --params FILE | delete NAME | "
    "export NAME FILE]";

class CommandError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class UsageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

std::string Quote(std::string_view text) {
  std::string quoted = "\"";
  quoted.append(text).append("\"");
  return quoted;
}

std::size_t EditDistance(std::string_view a, std::string_view b) {
  std::vector<std::size_t> row(b.size() + 1);
  for (std::size_t j = 0; j <= b.size(); ++j) row[j] = j;
  for (std::size_t i = 1; i <= a.size(); ++i) {
    std::size_t diagonal = row[0];
    row[0] = i;
    for (std::size_t j = 1; j <= b.size(); ++j) {
      const std::size_t above = row[j];
      row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] == b[j - 1] ? 0 : 1)});
      diagonal = above;
    }
  }
  return row[b.size()];
}

std::vector<std::string> PresetNames(SettingsStore& store) {
  std::vector<std::string> names = store.ValueNames(PresetSection);
  SortAsListed(names);
  return names;
}

// Up to three stored names nearest to name: those containing it first, then by edit distance.
std::string UnknownNameError(SettingsStore& store, std::string_view name) {
  std::vector<std::string> names = PresetNames(store);
  if (names.empty()) return "no preset named " + Quote(name) + "; no presets are stored";
  const std::string wanted = FoldAsciiCase(name);
  auto rank = [&](const std::string& candidate) {
    const std::string folded = FoldAsciiCase(candidate);
    const bool contains = !wanted.empty() && folded.find(wanted) != std::string::npos;
    return std::pair(!contains, EditDistance(folded, wanted));
  };
  std::stable_sort(names.begin(), names.end(),
                   [&](const std::string& a, const std::string& b) { return rank(a) < rank(b); });
  std::string message = "no preset named " + Quote(name) + "; closest:";
  for (std::size_t i = 0; i < std::min<std::size_t>(3, names.size()); ++i)
    message += (i == 0 ? " " : ", ") + Quote(names[i]);
  return message;
}

bool IsStored(SettingsStore& store, std::string_view name) {
  const std::vector<std::string> names = store.ValueNames(PresetSection);
  return std::any_of(names.begin(), names.end(),
                     [&](const std::string& n) { return SameValueName(n, name); });
}

std::unique_ptr<SettingsStore> OpenStoreForUse() {
  std::unique_ptr<SettingsStore> store = OpenUserStore(ProductName);
  InstallFactoryPresets(*store);
  return store;
}

ParamBlock ResolveOrThrow(SettingsStore& store, std::string_view name) {
  PresetLookup found = FindPreset(store, name);
  if (!found.Block) throw CommandError(found.Error);
  return *found.Block;
}

void WriteBlockFile(const std::string& path, const ParamBlock& block) {
  const std::string temp = path + ".part";
  {
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(&block), ParamBlockSize);
    if (!out.flush()) throw CommandError("cannot write " + Quote(path) + ": " + std::strerror(errno));
  }
  std::error_code ec;
  std::filesystem::rename(temp, path, ec);
  if (ec) {
    std::filesystem::remove(temp, ec);
    throw CommandError("cannot write " + Quote(path) + ": " + ec.message());
  }
}

void Show(std::ostream& out, std::string_view name, const ParamBlock& block) {
  out << "Preset " << Quote(name) << '\n';
  for (int i = 0; i < KnobCount; ++i) {
    out << std::setw(2) << i << "  " << std::left << std::setw(17) << editor::KnobPanel(i)
        << std::setw(11) << editor::Knobs[static_cast<std::size_t>(i)].Label << std::right << std::fixed
        << std::setprecision(4) << block.Values[i] << "  " << editor::ValueText(i, block.Values[i]) << '\n';
  }
  out << "    Power                       " << (block.Power != 0 ? "on" : "off") << '\n';
}

int Run(const std::vector<std::string>& args, std::ostream& out) {
  const std::string command = args.empty() ? "list" : args[0];
  const std::size_t operands = args.size() - (args.empty() ? 0 : 1);
  auto expect = [&](std::size_t count) {
    if (operands != count) throw UsageError(std::string(Usage));
  };
  if (command == "--help" || command == "-h") {
    out << Usage << '\n';
    return 0;
  }
  if (command == "list") {
    expect(0);
    for (const std::string& name : PresetNames(*OpenStoreForUse())) out << name << '\n';
  } else if (command == "show") {
    expect(1);
    Show(out, args[1], ResolveOrThrow(*OpenStoreForUse(), args[1]));
  } else if (command == "store") {
    expect(3);
    if (args[2] != "--params") throw UsageError(std::string(Usage));
    if (args[1].empty()) throw CommandError("a preset needs a name");
    const ParamBlock block = ReadParamsFile(args[3]);
    OpenStoreForUse()->WriteString(
        PresetSection, args[1],
        EncodeBlock({reinterpret_cast<const std::uint8_t*>(&block), ParamBlockSize}));
  } else if (command == "delete") {
    expect(1);
    const auto store = OpenStoreForUse();
    if (!IsStored(*store, args[1])) throw CommandError(UnknownNameError(*store, args[1]));
    store->DeleteValue(PresetSection, args[1]);
  } else if (command == "export") {
    expect(2);
    WriteBlockFile(args[2], ResolveOrThrow(*OpenStoreForUse(), args[1]));
  } else {
    throw UsageError("unknown presets command " + Quote(command) + "; " +
                                std::string(Usage));
  }
  return 0;
}

}  // namespace

PresetLookup FindPreset(SettingsStore& store, std::string_view name) {
  if (!IsStored(store, name)) return {std::nullopt, UnknownNameError(store, name)};
  const std::vector<std::uint8_t> bytes = DecodeBlock(store.ReadString(PresetSection, name));
  if (bytes.size() != ParamBlockSize)
    return {std::nullopt, "preset " + Quote(name) + " holds " + std::to_string(bytes.size()) +
                              " bytes, not a " + std::to_string(ParamBlockSize) +
                              "-byte parameter block"};
  ParamBlock block;
  std::memcpy(&block, bytes.data(), ParamBlockSize);
  return {block, {}};
}

PresetLookup FindPreset(std::string_view name) {
  try {
    return FindPreset(*OpenStoreForUse(), name);
  } catch (const StoreError& error) {
    return {std::nullopt, error.what()};
  }
}

int RunPresetsCommand(int argc, char** argv, std::ostream& out, std::ostream& err) {
  try {
    return Run({argv, argv + argc}, out);
  } catch (const UsageError& usage) {
    err << "lreverb presets: " << usage.what() << '\n';
    return 2;
  } catch (const std::exception& error) {
    err << "lreverb presets: " << error.what() << '\n';
    return 1;
  }
}

int RunPresetsCommand(int argc, char** argv) {
  return RunPresetsCommand(argc, argv, std::cout, std::cerr);
}

}  // namespace lumra
