#include "machine/formula_instruction.h"

#include <algorithm>
#include <memory>

#include "machine/debugger.h"
#include "machine/instructions.h"
#include "rtl/errors.h"
#include "rtl/real_text.h"
#include "rtl/text.h"

namespace trel {

void FormulaStateDeleter::operator()(FormulaState* state) const {
  delete state;
}

namespace {

// A slot's name as the formula sees it: free slots ("00") have none.
bool listedName(const std::string& name) {
  return !name.empty() && name != VariableTable::kFreeName;
}

// A slot's value as a formula reads it: 0 for a free slot, 1 for a text that is no number.
[[gnu::noinline]] double slotNumber(const VariableTable& table, int slot) {
  if (!table.isOccupied(slot)) return 0;
  int32_t plain;
  if (table.plainIntAt(slot, plain)) return plain;
  double v;
  return tryTextToReal(table.valueAt(slot), v) ? v : 1;
}

// slotNumber as the fast path's reader; a plain integer of a named slot is read without a call.
bool readSlot(const void* context, uint32_t index, double& value) {
  const auto& table = *static_cast<const VariableTable*>(context);
  int32_t plain;
  value = table.namedPlainIntAt(static_cast<int>(index), plain)
              ? plain
              : slotNumber(table, static_cast<int>(index));
  return true;
}

class MachineVariables : public FormulaVariables {
 public:
  MachineVariables(VariableTable& table, SlotNameIndex& names) : table_(table), names_(names) {}
  int count() const override { return kFormulaVariableCount; }
  int find(std::string_view name, bool caseSensitive) override {
    int slot = names_.find(table_, name, caseSensitive);
    if (lookups) lookups->emplace_back(name, slot);
    return slot;
  }
  void read(int index, TCalcItem& value) override { value.setNumber(slotNumber(table_, index)); }
  // Where the lookups are noted, when they are.
  NameLookups* lookups = nullptr;

 private:
  VariableTable& table_;
  SlotNameIndex& names_;
};

}  // namespace

void SlotNameIndex::add(const VariableTable& table, int slot) {
  if (slot >= kFormulaVariableCount || !listedName(table.nameAt(slot))) return;
  auto [it, inserted] = lowest_.try_emplace(upperCase(table.nameAt(slot)), slot);
  if (!inserted && slot < it->second) it->second = slot;
}

void SlotNameIndex::rebuild(const VariableTable& table) {
  lowest_.clear();
  for (int slot : table.namedSlots()) add(table, slot);
  clearSeen_ = table.clearCount();
  namedSeen_ = table.namedSlots().size();
}

void SlotNameIndex::update(const VariableTable& table) {
  const std::vector<int>& named = table.namedSlots();
  if (clearSeen_ != table.clearCount() || named.size() < namedSeen_) {
    rebuild(table);
    return;
  }
  for (; namedSeen_ < named.size(); ++namedSeen_) add(table, named[namedSeen_]);
}

int SlotNameIndex::find(const VariableTable& table, std::string_view name, bool caseSensitive) {
  if (name.empty()) {
    // Every free slot has the empty name in the list; so does a slot named "".
    for (int slot = 0; slot < kFormulaVariableCount; ++slot)
      if (!listedName(table.nameAt(slot))) return slot;
    return -1;
  }
  update(table);
  std::string key = upperCase(name);
  auto it = lowest_.find(key);
  if (it != lowest_.end() && upperCase(table.nameAt(it->second)) != key) {
    // A slot was renamed behind our back: start over.
    rebuild(table);
    it = lowest_.find(key);
  }
  if (it == lowest_.end()) return -1;
  if (!caseSensitive || table.nameAt(it->second) == name) return it->second;
  int best = -1;
  for (int slot : table.namedSlots())
    if (slot < kFormulaVariableCount && table.nameAt(slot) == name && (best < 0 || slot < best))
      best = slot;
  return best;
}

const TArtFormula::Compiled* FormulaCache::find(const std::string& text, const TArtFormula& F,
                                                const VariableTable& table, SlotNameIndex& names) {
  auto it = entries_.find(text);
  if (it == entries_.end()) return nullptr;
  Entry& e = it->second;
  if (!F.hasCompileSettings(e.settings)) return nullptr;
  // Slots change their names only when they are named or the table is cleared.
  if (e.clearSeen != table.clearCount() || e.namedSeen != table.namedSlots().size()) {
    for (const auto& [name, slot] : e.lookups)
      if (names.find(table, name, e.settings.caseSensitive) != slot) return nullptr;
    e.clearSeen = table.clearCount();
    e.namedSeen = table.namedSlots().size();
  }
  e.lastUse = ++uses_;
  return &e.compiled;
}

void FormulaCache::add(const std::string& text, const TArtFormula& F, NameLookups lookups,
                       const VariableTable& table) {
  if (text.size() > kLongestText) return;
  if (entries_.size() >= kCapacity && !entries_.contains(text)) {
    auto oldest = entries_.begin();
    for (auto it = entries_.begin(); it != entries_.end(); ++it)
      if (it->second.lastUse < oldest->second.lastUse) oldest = it;
    entries_.erase(oldest);
  }
  Entry& e = entries_[text];
  e.settings = F.compileSettings();
  e.lookups = std::move(lookups);
  F.saveCompiled(e.compiled);
  e.compiled.id = ++saved_;
  e.clearSeen = table.clearCount();
  e.namedSeen = table.namedSlots().size();
  e.lastUse = ++uses_;
}

std::string FormulaHostBridge::input(const std::string& caption, const std::string& prompt,
                                     const std::string& value) {
  return host_.inputBox(caption, prompt, value).value_or(std::string());
}

int FormulaHostBridge::message(const std::string& text, const std::string& caption, int flags) {
  return host_.messageBox(text, caption, flags);
}

bool FormulaHostBridge::stopRequested() {
  host_.processEvents();
  uint64_t& taken = machine_ ? machine_->stepsTaken : stepsTaken;
  uint64_t limit = machine_ ? machine_->maxSteps : maxSteps;
  if (limit != 0 && ++taken > limit) throw StepLimitError();
  return machine_ && (machine_->CheckBox1 || machine_->stopRequested);
}

namespace {

// A formula error's place in the source: the instruction's line, and the column where the compiler
// stopped when the formula's text can be found in that line (a formula statement holds it as
// written; a line of low-level code is its own source).
void reportFormulaError(Machine& m, const RunFrame& f, const std::string& text,
                        const std::exception& e) {
  if (f.mode != RunMode::Program || m.pc < 0 || m.pc >= m.ListBox1.size()) return;
  const SourceMap& map = m.ListBox1.sourceMap();
  SourceLocation at = m.ListBox1.origin(m.pc);
  if (at.line < 1) return;
  Diagnostic d = diagnosticAt(map, at, errorText(e));
  auto* formulaError = dynamic_cast<const FormulaException*>(&e);
  std::string_view written = trimView(text);
  if (formulaError && formulaError->offset() && !written.empty()) {
    size_t lead = static_cast<size_t>(written.data() - text.data());
    size_t offset = std::min(*formulaError->offset(), text.size());
    size_t found = sourceLineText(m, map, at).find(written);
    if (found != std::string::npos)
      d.column = static_cast<int32_t>(found + (offset > lead ? offset - lead : 0) + 1);
  }
  m.host.diagnostic(d);
}

}  // namespace

bool decodeFormula(Machine& m, const std::string& text, DecodedFormula& into) {
  if (!m.formulaState) return false;
  FormulaState& state = *m.formulaState;
  const TArtFormula::Compiled* compiled = state.compiled.find(text, state.F, m.table, state.names);
  into.resultSlot = m.table.findSlot("RG0");
  if (!compiled || !compiled->fast.usable() || into.resultSlot < 0 || m.table.isFreeSlotName("RG0"))
    return false;
  into.settings = state.F.compileSettings();
  into.literalsVersion = state.F.literalsVersion();
  into.fast = compiled->fast;
  return true;
}

bool runDecodedFormula(Machine& m, const DecodedFormula& d) {
  const TArtFormula& F = m.formulaState->F;
  if (F.Step || !F.hasCompileSettings(d.settings, d.literalsVersion)) return false;
  // On an error the fast run gives up, and the instruction raises the error and reports it.
  double value;
  if (!d.fast.run(readSlot, &m.table, kFormulaVariableCount, value)) return false;
  // A whole number in the integers' range reads as that integer's text (minus zero as "0").
  if (value > -2147483649.0 && value < 2147483648.0 &&
      static_cast<double>(static_cast<int32_t>(value)) == value)
    m.table.setIntAt(d.resultSlot, static_cast<int32_t>(value));
  else
    m.table.setValueAt(d.resultSlot, realToText(value));
  return true;
}

std::string computeOnMachine(Machine& m, const std::string& formula) {
  if (!m.formulaState) m.formulaState.reset(new FormulaState);
  TArtFormula F;
  F.copySettings(m.formulaState->F);
  FormulaHostBridge bridge(m.host, &m);
  F.host = &bridge;
  MachineVariables variables(m.table, m.formulaState->names);
  return F.CompileAndCompute(formula, variables);
}

Outcome runFormula(Machine& m, RunFrame& f) {
  f.dropKeyword(Instruction::Formula);
  const std::string text(f.text());
  if (!m.formulaState) m.formulaState.reset(new FormulaState);
  FormulaState& state = *m.formulaState;
  FormulaHostBridge bridge(m.host, &m);
  MachineVariables variables(m.table, state.names);
  // A program started from inside a running formula (a click served while it polls, a dialog)
  // gets a component of its own with the same settings.
  TArtFormula* F = &state.F;
  std::unique_ptr<TArtFormula> spare;
  if (state.F.host) {
    spare = std::make_unique<TArtFormula>();
    spare->copySettings(state.F);
    F = spare.get();
  }
  F->host = &bridge;
  struct HostReset {
    TArtFormula* F;
    ~HostReset() { F->host = nullptr; }
  } reset{F};
  NameLookups lookups;
  try {
    if (const TArtFormula::Compiled* compiled =
            state.compiled.find(text, *F, m.table, state.names)) {
      F->restoreCompiled(*compiled);
    } else {
      variables.lookups = &lookups;
      F->Compile(text, variables);
      variables.lookups = nullptr;
      state.compiled.add(text, *F, std::move(lookups), m.table);
    }
    std::string result = F->Compute(variables);
    m.table.SetVariable("RG0", result);
  } catch (const FormulaStopped&) {
    // The run is being stopped; the interpreter ends it after this step.
  } catch (const LimitError&) {
    throw;
  } catch (const std::exception& e) {
    m.host.messageBox(errorText(e), "Error", mb::kIconError);
    reportFormulaError(m, f, text, e);
  }
  return Outcome::Continue;
}

}  // namespace trel
