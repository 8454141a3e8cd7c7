#include "tools/lreverb/presets_command.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <fstream>
#include <iomanip>
#include <ostream>
#include <sstream>
#include <vector>

#include "editor/control_table.h"
#include "editor/value_text.h"
#include "presets/block_codec.h"
#include "presets/factory_presets.h"
#include "presets/install_factory_presets.h"
#include "presets/memory_store.h"
#include "presets/name_case.h"
#include "presets/user_store.h"
#include "tools/lreverb/command_line.h"
#include "tools/lreverb/knob_check.h"
#include "tools/lreverb/output_file.h"
#include "tools/lreverb/params_file.h"
#include "tools/lreverb/preset_names.h"

namespace lumra {
namespace {

constexpr std::string_view HelpText = R"(usage: lreverb presets [list]
       lreverb presets show NAME
       lreverb presets store NAME --params FILE
       lreverb presets delete NAME
       lreverb presets export NAME FILE
  list     every stored preset, one a line, marked "factory" (as installed) or "user"
  show     the 36 values with their panel, label, stored number and text as the face shows it
  store    stores FILE (a 148-byte block or 296 hexadecimal digits) under NAME, replacing a
           preset of that name; refused when a value is not a number from 0 to 1
  delete   deletes the preset
  export   writes the preset's 148-byte block to FILE ("-": standard output)
  Names match without regard to case; blanks around a name are dropped; a name may not be empty
  or hold control characters. The factory presets are installed the first time the store is used;
  when it cannot be written they are still listed and used, and only store and delete fail.
)";

constexpr std::string_view Usage = "usage: lreverb presets [list | show NAME | store NAME --params FILE | delete NAME | export NAME FILE]";

constexpr std::array<OptionSpec, 1> Options{{{"--params", true}}};

class CommandError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

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
  const std::string wanted = FoldNameCase(name);
  auto rank = [&](const std::string& candidate) {
    const std::string folded = FoldNameCase(candidate);
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

// The store to change: the user's own, with the factory presets installed.
std::unique_ptr<SettingsStore> OpenStoreForChanges() {
  std::unique_ptr<SettingsStore> store = OpenUserStore(ProductName);
  InstallFactoryPresets(*store);
  return store;
}

// The presets to read. A store that cannot be written (a config folder without write access) is
// read as it is, with the factory presets a first use would install added in memory; one that
// cannot be read or parsed is reported.
std::unique_ptr<SettingsStore> OpenStoreForReading() {
  auto copy = std::make_unique<MemoryStore>();
  std::unique_ptr<SettingsStore> store;
  try {
    store = OpenUserStore(ProductName);
  } catch (const StoreError&) {
    InstallFactoryPresets(*copy);
    return copy;
  }
  try {
    InstallFactoryPresets(*store);
    return store;
  } catch (const StoreError&) {
    for (const std::string& name : store->ValueNames(PresetSection))
      copy->WriteString(PresetSection, name, store->ReadString(PresetSection, name));
    copy->WriteString(FlagSection, FlagValue, store->ReadString(FlagSection, FlagValue));
    InstallFactoryPresets(*copy);
    return copy;
  }
}

// The stored spelling of name, when a preset of that name is stored.
std::optional<std::string> StoredName(SettingsStore& store, std::string_view name) {
  for (const std::string& stored : store.ValueNames(PresetSection))
    if (SameValueName(stored, name)) return stored;
  return std::nullopt;
}

bool IsFactoryPreset(std::string_view name, const std::string& text) {
  return std::any_of(FactoryPresets.begin(), FactoryPresets.end(), [&](const FactoryPreset& preset) {
    return preset.Name == name && preset.Text == text;
  });
}

ParamBlock ResolveOrThrow(SettingsStore& store, std::string_view name) {
  PresetLookup found = FindPreset(store, name);
  if (!found.Block) throw CommandError(found.Error);
  return *found.Block;
}

void WriteBlockFile(const std::string& path, const ParamBlock& block) {
  OutputFile output(path);
  {
    std::ofstream out(output.Temporary(), std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(&block), ParamBlockSize);
    if (!out.flush()) throw CommandError("cannot write " + Quote(path));
  }
  output.Commit();
}

std::string RawValueText(float value) {
  if (!std::isfinite(value)) return KnobValueText(value);
  std::ostringstream text;
  text << std::fixed << std::setprecision(4) << value;
  return text.str();
}

void Show(std::ostream& out, std::string_view name, const ParamBlock& block) {
  out << "Preset " << Quote(name) << '\n';
  for (int i = 0; i < KnobCount; ++i) {
    const float value = block.Values[static_cast<std::size_t>(i)];
    out << std::setw(2) << i << "  " << std::left << std::setw(17) << editor::KnobPanel(i) << std::setw(11)
        << editor::Knobs[static_cast<std::size_t>(i)].Label << std::right << RawValueText(value) << "  "
        << editor::ValueText(i, value);
    if (!(value >= 0.0f && value <= 1.0f)) out << "  (outside 0..1, taken as " << NumberText(ClampKnobValue(value)) << ")";
    out << '\n';
  }
  out << "    Power                       " << (block.Power != 0 ? "on" : "off") << '\n';
}

void List(std::ostream& out) {
  const std::unique_ptr<SettingsStore> store = OpenStoreForReading();
  for (const std::string& name : PresetNames(*store))
    out << (IsFactoryPreset(name, store->ReadString(PresetSection, name)) ? "factory  " : "user     ") << name
        << '\n';
}

void Store(const std::string& typedName, const std::optional<std::string>& paramsFile) {
  if (!paramsFile) throw UsageError("store needs --params FILE; " + std::string(Usage));
  const std::string name = CheckedPresetName(typedName);
  const ParamBlock block = ReadParamsFile(*paramsFile);
  if (const std::vector<KnobProblem> problems = KnobProblems(block); !problems.empty())
    throw CommandError("not storing " + Quote(name) + ": " + DescribeKnobProblems(problems, false) +
                       "; every value must be a number from 0 to 1");
  try {
    const std::unique_ptr<SettingsStore> store = OpenStoreForChanges();
    // Replacing a preset keeps the spelling it was stored under.
    store->WriteString(PresetSection, StoredName(*store, name).value_or(name),
                       EncodeBlock({reinterpret_cast<const std::uint8_t*>(&block), ParamBlockSize}));
  } catch (const StoreError& error) {
    throw CommandError("cannot store " + Quote(name) + ": " + error.what());
  }
}

void Delete(const std::string& typedName) {
  const std::string name = TrimmedPresetName(typedName);
  {
    const std::unique_ptr<SettingsStore> store = OpenStoreForReading();
    if (!StoredName(*store, name)) throw CommandError(UnknownNameError(*store, name));
  }
  try {
    const std::unique_ptr<SettingsStore> store = OpenStoreForChanges();
    store->DeleteValue(PresetSection, name);
  } catch (const StoreError& error) {
    throw CommandError("cannot delete " + Quote(name) + ": " + error.what());
  }
}

int Run(std::span<const std::string> args, std::ostream& out) {
  const ParsedArguments parsed = ParseArguments(args, Options);
  if (parsed.Help) {
    out << HelpText;
    return 0;
  }
  const std::vector<std::string>& words = parsed.Operands;
  const std::string command = words.empty() ? "list" : words[0];
  const std::size_t operands = words.empty() ? 0 : words.size() - 1;
  const std::optional<std::string> paramsFile = SingleOption(parsed, "--params");
  if (paramsFile && command != "store") throw UsageError("--params belongs to presets store");
  const auto expect = [&](std::size_t count, std::string_view what) {
    if (operands < count) throw UsageError(command + " needs " + std::string(what) + "; " + std::string(Usage));
    if (operands > count) throw UsageError("unexpected argument " + Quote(words[count + 1]));
  };
  if (command == "list") {
    expect(0, "nothing");
    List(out);
  } else if (command == "show") {
    expect(1, "a preset name");
    const std::unique_ptr<SettingsStore> store = OpenStoreForReading();
    const std::string name = TrimmedPresetName(words[1]);
    const ParamBlock block = ResolveOrThrow(*store, name);
    Show(out, StoredName(*store, name).value_or(name), block);
  } else if (command == "store") {
    expect(1, "a preset name and --params FILE");
    Store(words[1], paramsFile);
  } else if (command == "delete") {
    expect(1, "a preset name");
    Delete(words[1]);
  } else if (command == "export") {
    expect(2, "a preset name and a file");
    WriteBlockFile(words[2], ResolveOrThrow(*OpenStoreForReading(), TrimmedPresetName(words[1])));
  } else {
    throw UsageError("unknown presets command " + Quote(command) + "; " + std::string(Usage));
  }
  return 0;
}

}  // namespace

PresetLookup FindPreset(SettingsStore& store, std::string_view typedName) {
  const std::string name = TrimmedPresetName(typedName);
  const std::optional<std::string> stored = StoredName(store, name);
  if (!stored) return {std::nullopt, UnknownNameError(store, name)};
  const std::vector<std::uint8_t> bytes = DecodeBlock(store.ReadString(PresetSection, *stored));
  if (bytes.size() != ParamBlockSize)
    return {std::nullopt, "preset " + Quote(*stored) + " holds " + std::to_string(bytes.size()) +
                              " bytes, not a " + std::to_string(ParamBlockSize) +
                              "-byte parameter block"};
  ParamBlock block;
  std::memcpy(&block, bytes.data(), ParamBlockSize);
  return {block, {}};
}

PresetLookup FindPreset(std::string_view name) {
  try {
    return FindPreset(*OpenStoreForReading(), name);
  } catch (const StoreError& error) {
    return {std::nullopt, error.what()};
  }
}

int RunPresetsCommand(std::span<const std::string> args, std::ostream& out, std::ostream& err) {
  return RunReportingErrors("lreverb presets", err, [&] { return Run(args, out); });
}

}  // namespace lumra
