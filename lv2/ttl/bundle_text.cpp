#include "lv2/ttl/bundle_text.h"

#include <algorithm>
#include <charconv>
#include <cstdlib>
#include <set>
#include <span>
#include <sstream>
#include <stdexcept>
#include <string_view>
#include <tuple>
#include <vector>

#include "editor/control_table.h"
#include "editor/value_text.h"
#include "lv2/ports.h"
#include "lv2/ttl/port_names.h"
#include "presets/factory_presets.h"

namespace lumra::lv2 {
namespace {

constexpr std::string_view Prefixes =
    "@prefix atom: <http://lv2plug.in/ns/ext/atom#> .\n"
    "@prefix doap: <http://usefulinc.com/ns/doap#> .\n"
    "@prefix lv2: <http://lv2plug.in/ns/lv2core#> .\n"
    "@prefix pg: <http://lv2plug.in/ns/ext/port-groups#> .\n"
    "@prefix pset: <http://lv2plug.in/ns/ext/presets#> .\n"
    "@prefix rdf: <http://www.w3.org/1999/02/22-rdf-syntax-ns#> .\n"
    "@prefix rdfs: <http://www.w3.org/2000/01/rdf-schema#> .\n"
    "@prefix state: <http://lv2plug.in/ns/ext/state#> .\n"
    "@prefix ui: <http://lv2plug.in/ns/extensions/ui#> .\n"
    "@prefix urid: <http://lv2plug.in/ns/ext/urid#> .\n"
    "@prefix xsd: <http://www.w3.org/2001/XMLSchema#> .\n\n";

std::string Iri(std::string_view uri) {
  std::string iri = "<";
  iri += uri;
  return iri += ">";
}

std::string Quoted(std::string_view text) {
  std::string out = "\"";
  for (const char ch : text) {
    if (ch == '"' || ch == '\\') out += '\\';
    out += ch;
  }
  return out + "\"";
}

// The shortest decimal that a host reading it as a double and rounding to float turns back
// into v exactly; always with a point or an exponent, so that Turtle reads a number of type
// decimal or double, never an integer (which lilv hands to hosts as an int).
std::string Number(float v) {
  char text[64];
  std::string number(text, std::to_chars(text, text + sizeof text, v).ptr);
  if (static_cast<float>(std::strtod(number.c_str(), nullptr)) != v)
    number.assign(text, std::to_chars(text, text + sizeof text, static_cast<double>(v)).ptr);
  if (number.find_first_of(".e") == std::string::npos) number += ".0";
  return number;
}

std::string Base64(std::span<const std::uint8_t> bytes) {
  constexpr std::string_view Digits =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string out;
  for (std::size_t i = 0; i < bytes.size(); i += 3) {
    const std::size_t n = std::min<std::size_t>(3, bytes.size() - i);
    std::uint32_t word = 0;
    for (std::size_t k = 0; k < 3; ++k) word = word << 8 | (k < n ? bytes[i + k] : 0u);
    for (std::size_t k = 0; k < 4; ++k) out += k <= n ? Digits[word >> (18 - 6 * k) & 63] : '=';
  }
  return out;
}

std::string PanelIri(int group) {
  return Iri(std::string(StereoUri) + ":panel:" + PanelSymbol(group));
}

std::string PanelGroups() {
  std::ostringstream out;
  for (int g = 0; g < static_cast<int>(editor::KnobGroups.size()); ++g)
    out << PanelIri(g) << "\n    a pg:Group ;\n    lv2:symbol " << Quoted(PanelSymbol(g))
        << " ;\n    rdfs:label " << Quoted(editor::KnobGroups[g].Title.Text) << " .\n\n";
  return out.str();
}

// A scale point at either end and at the load-time value, labelled with the face's text.
std::string ScalePoints(int element) {
  std::vector<float> at{0.0f, LoadValues[element], 1.0f};
  std::ostringstream out;
  for (std::size_t i = 0; i < at.size(); ++i) {
    if (i > 0 && at[i] == at[i - 1]) continue;
    out << " ,\n            [ rdfs:label " << Quoted(editor::ValueText(element, at[i]))
        << " ; rdf:value " << Number(at[i]) << " ]";
  }
  return out.str().substr(2);
}

std::string KnobPort(int element) {
  std::ostringstream out;
  out << "[\n        a lv2:InputPort , lv2:ControlPort ;\n        lv2:index " << element
      << " ;\n        lv2:symbol " << Quoted(KnobPortSymbol(element)) << " ;\n        lv2:name "
      << Quoted(KnobPortName(element)) << " ;\n        pg:group " << PanelIri(element / 6)
      << " ;\n        lv2:default " << Number(LoadValues[element])
      << " ;\n        lv2:minimum 0 ;\n        lv2:maximum 1 ;\n        lv2:scalePoint"
      << ScalePoints(element) << "\n    ]";
  return out.str();
}

std::string ControlPorts() {
  std::ostringstream out;
  for (int i = 0; i < KnobCount; ++i) out << "    " << KnobPort(i) << " ,\n";
  out << "    [\n        a lv2:InputPort , lv2:ControlPort ;\n        lv2:index " << port::Power
      << " ;\n        lv2:symbol \"power\" ;\n        lv2:name \"Power\" ;\n        "
         "lv2:designation lv2:enabled ;\n"
         "        lv2:portProperty lv2:toggled ;\n        lv2:default 1 ;\n        lv2:minimum 0 "
         ";\n"
         "        lv2:maximum 1\n    ]";
  for (const auto& [index, symbol, name] :
       {std::tuple{port::PeakLeft, "peak_left", "Peak Left"},
        std::tuple{port::PeakRight, "peak_right", "Peak Right"}})
    out << " ,\n    [\n        a lv2:OutputPort , lv2:ControlPort ;\n        lv2:index " << index
        << " ;\n        lv2:symbol " << Quoted(symbol) << " ;\n        lv2:name " << Quoted(name)
        << " ;\n        lv2:minimum 0 ;\n        lv2:maximum 1\n    ]";
  return out.str();
}

std::string AudioPorts(int channels) {
  struct Audio {
    std::uint32_t Index;
    bool Input;
    std::string_view Symbol, Name;
  };
  const std::vector<Audio> ports =
      channels == 2 ? std::vector<Audio>{{InputPort(0), true, "in_left", "In Left"},
                                         {InputPort(1), true, "in_right", "In Right"},
                                         {OutputPort(2, 0), false, "out_left", "Out Left"},
                                         {OutputPort(2, 1), false, "out_right", "Out Right"}}
                    : std::vector<Audio>{{InputPort(0), true, "in", "In"},
                                         {OutputPort(1, 0), false, "out", "Out"}};
  std::ostringstream out;
  for (const Audio& audio : ports)
    out << " ,\n    [\n        a lv2:AudioPort , "
        << (audio.Input ? "lv2:InputPort" : "lv2:OutputPort") << " ;\n        lv2:index "
        << audio.Index << " ;\n        lv2:symbol " << Quoted(audio.Symbol)
        << " ;\n        lv2:name " << Quoted(audio.Name) << "\n    ]";
  return out.str();
}

std::string Plugin(std::string_view uri, std::string_view name, int channels) {
  std::ostringstream out;
  out << Iri(uri) << "\n    a lv2:Plugin , lv2:ReverbPlugin ;\n    doap:name " << Quoted(name)
      << " ;\n    lv2:optionalFeature lv2:hardRTCapable , urid:map ;\n    lv2:extensionData "
         "state:interface ;\n";
  out << "    ui:ui " << Iri(UiUri) << " ;\n";
  out << "    lv2:port\n" << ControlPorts() << AudioPorts(channels) << " .\n\n";
  return out.str();
}

std::string UiDeclaration() {
  std::ostringstream out;
  out << Iri(UiUri) << "\n    a ui:X11UI ;\n    ui:binary <lreverb_ui.so> ;\n"
      << "    lv2:optionalFeature ui:parent , ui:resize , ui:idleInterface ;\n"
      << "    lv2:extensionData ui:idleInterface";
  for (const std::string_view plugin : {StereoUri, MonoUri})
    for (const char* symbol : {"peak_left", "peak_right"})
      out << " ;\n    ui:portNotification [ ui:plugin " << Iri(plugin) << " ; lv2:symbol "
          << Quoted(symbol) << " ; ui:protocol ui:floatProtocol ]";
  out << " .\n\n";
  return out.str();
}

struct DecodedPreset {
  std::string_view Name;
  ParamBlock Block;
};

std::vector<DecodedPreset> DecodedPresets() {
  std::vector<DecodedPreset> presets;
  for (const FactoryPreset& preset : FactoryPresets)
    presets.push_back({preset.Name, FactoryBlock(preset)});
  return presets;
}

std::string AppliesTo() { return Iri(StereoUri) + " , " + Iri(MonoUri); }

}  // namespace

std::string ManifestTtl() {
  std::ostringstream out;
  out << Prefixes;
  for (const std::string_view uri : {StereoUri, MonoUri})
    out << Iri(uri)
        << "\n    a lv2:Plugin ;\n    lv2:binary <lreverb.so> ;\n    rdfs:seeAlso <lreverb.ttl> "
           ".\n\n";
  out << Iri(UiUri)
      << "\n    a ui:X11UI ;\n    ui:binary <lreverb_ui.so> ;\n    rdfs:seeAlso <lreverb.ttl> "
         ".\n\n";
  for (const FactoryPreset& preset : FactoryPresets)
    out << Iri(PresetUri(preset.Name)) << "\n    a pset:Preset ;\n    lv2:appliesTo " << AppliesTo()
        << " ;\n    rdfs:label " << Quoted(preset.Name)
        << " ;\n    rdfs:seeAlso <presets.ttl> .\n\n";
  return out.str();
}

std::string PluginTtl() {
  std::set<std::string> symbols{"power", "peak_left", "peak_right"};
  for (int i = 0; i < KnobCount; ++i)
    if (!symbols.insert(KnobPortSymbol(i)).second)
      throw std::runtime_error("two knobs are " + KnobPortSymbol(i));
  std::ostringstream out;
  out << Prefixes << PanelGroups();
  out << Plugin(StereoUri, editor::ProductLongName, 2);
  out << Plugin(MonoUri, std::string(editor::ProductLongName) + " (Mono)", 1);
  out << UiDeclaration();
  return out.str();
}

// Each preset holds its port values, for hosts that apply only those, and the whole block as
// the plug-in's state, which restores it exactly.
std::string PresetsTtl() {
  std::ostringstream out;
  out << Prefixes;
  for (const DecodedPreset& preset : DecodedPresets()) {
    out << Iri(PresetUri(preset.Name)) << "\n    a pset:Preset ;\n    lv2:appliesTo " << AppliesTo()
        << " ;\n    rdfs:label " << Quoted(preset.Name) << " ;\n    lv2:port";
    for (int i = 0; i < KnobCount; ++i)
      out << (i > 0 ? " ," : "") << "\n        [ lv2:symbol " << Quoted(KnobPortSymbol(i))
          << " ; pset:value " << Number(preset.Block.Values[i]) << " ]";
    out << " ,\n        [ lv2:symbol \"power\" ; pset:value "
        << Number(preset.Block.Power != 0 ? 1.0f : 0.0f) << " ]";
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(&preset.Block);
    out << " ;\n    state:state [\n        " << Iri(BlockStateKey) << " "
        << Quoted(Base64({bytes, ParamBlockSize})) << "^^xsd:base64Binary\n    ] .\n\n";
  }
  return out.str();
}

}  // namespace lumra::lv2
