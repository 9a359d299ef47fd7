#include "formula/variable_context.h"

#include "rtl/text.h"

namespace trel {

void VariableContext::beginCompile(FormulaVariables& variables) {
  vars_ = &variables;
  hostCount_ = variables.count();
  if (usedIn_.size() < static_cast<size_t>(hostCount_)) usedIn_.resize(hostCount_, 0);
  if (++compile_ == 0) {
    std::fill(usedIn_.begin(), usedIn_.end(), 0);
    compile_ = 1;
  }
  usedCount_ = 0;
}

void VariableContext::beginRun(FormulaVariables& variables) {
  bindValues(variables);
  undo_.clear();
  if (!runtimeValues_.empty()) {
    runtimeValues_.clear();
    runtimeIndex_.clear();
  }
}

void VariableContext::newLoadRound() {
  if (own_.size() < static_cast<size_t>(hostCount_)) {
    own_.resize(hostCount_);
    loadedIn_.resize(hostCount_, 0);
  }
  if (++run_ == 0) {
    std::fill(loadedIn_.begin(), loadedIn_.end(), 0);
    run_ = 1;
  }
}

void VariableContext::endRun(bool completed) {
  if (!completed && direct_)
    for (auto it = undo_.rbegin(); it != undo_.rend(); ++it) direct_[it->first] = it->second;
  undo_.clear();
}

void VariableContext::load(int index) {
  vars_->read(index, own_[index]);
  loadedIn_[index] = run_;
}

std::string VariableContext::key(std::string_view name) const {
  return caseSensitive ? std::string(name) : upperCase(name);
}

int VariableContext::find(std::string_view name) {
  int host = findHost(name);
  if (host >= 0) return host;
  if (runtimeIndex_.empty()) return -1;
  auto it = runtimeIndex_.find(key(name));
  return it == runtimeIndex_.end() ? -1 : hostCount_ + it->second;
}

TCalcItem& VariableContext::value(int index) {
  return index < hostCount_ ? hostValue(index) : runtimeValues_[index - hostCount_];
}

void VariableContext::store(int index, const TCalcItem& v) {
  if (index >= hostCount_) {
    runtimeValues_[index - hostCount_] = v;
    return;
  }
  if (direct_) {
    bool logged = false;
    for (const auto& u : undo_) logged = logged || u.first == index;
    if (!logged) undo_.emplace_back(index, direct_[index]);
  }
  hostValue(index) = v;
}

bool VariableContext::define(std::string_view name, const TCalcItem& v) {
  if (find(name) >= 0) return false;
  runtimeIndex_.emplace(key(name), static_cast<int>(runtimeValues_.size()));
  runtimeValues_.push_back(v);
  return true;
}

}  // namespace trel
