// The handlers of the 38 instructions, one group per file. Each runs after its keyword test
// succeeded and takes its operands from the frame's working text.
#pragma once

#include <string>
#include <string_view>

#include "machine/machine.h"
#include "machine/run_frame.h"

namespace trel {

// formula_instruction.cpp
Outcome runFormula(Machine& m, RunFrame& f);
// data_instructions.cpp
Outcome runAssign(Machine& m, RunFrame& f);
Outcome runVar(Machine& m, RunFrame& f);
Outcome runArrayLoad(Machine& m, RunFrame& f);
Outcome runArraySave(Machine& m, RunFrame& f);
Outcome runArray(Machine& m, RunFrame& f);
Outcome runInt(Machine& m, RunFrame& f);
Outcome runAdd(Machine& m, RunFrame& f);
Outcome runSubtract(Machine& m, RunFrame& f);
Outcome runMultiply(Machine& m, RunFrame& f);
Outcome runDivide(Machine& m, RunFrame& f);
Outcome runXor(Machine& m, RunFrame& f);
Outcome runRound(Machine& m, RunFrame& f);
// class_markers.cpp
Outcome runBeginClass(Machine& m, RunFrame& f);
Outcome runEndClass(Machine& m, RunFrame& f);
Outcome runProperty(Machine& m, RunFrame& f);
Outcome runMethod(Machine& m, RunFrame& f);
Outcome runInherit(Machine& m, RunFrame& f);
// control_flow.cpp
Outcome runReturn(Machine& m, RunFrame& f);
Outcome runCall(Machine& m, RunFrame& f);
Outcome runJump(Machine& m, RunFrame& f);
Outcome runCompare(Machine& m, RunFrame& f);
Outcome runIfEqual(Machine& m, RunFrame& f);
Outcome runIfNotEqual(Machine& m, RunFrame& f);
Outcome runIfGreater(Machine& m, RunFrame& f);
Outcome runIfLess(Machine& m, RunFrame& f);
Outcome runHalt(Machine& m, RunFrame& f);
// console_instructions.cpp
Outcome runEcho(Machine& m, RunFrame& f);
Outcome runOutFile(Machine& m, RunFrame& f);
Outcome runNoOut(Machine& m, RunFrame& f);
// host_services.cpp
Outcome runStdHandles(Machine& m, RunFrame& f);
Outcome runOpen(Machine& m, RunFrame& f);
Outcome runNative(Machine& m, RunFrame& f);
// native_calls.cpp
Outcome runExtS(Machine& m, RunFrame& f);
Outcome runExtL(Machine& m, RunFrame& f);
// window_instructions.cpp
Outcome runMakeForm(Machine& m, RunFrame& f);
Outcome runMakeLabel(Machine& m, RunFrame& f);
Outcome runDrawForm(Machine& m, RunFrame& f);

// dest op source of the integer instructions +, - and * (any other id multiplies), with 32-bit
// wrap-around.
int32_t integerOp(Instruction id, int32_t a, int32_t b);

// Shared operand rules.
// The variable-or-literal rule: the value of the variable the operand names, else its own text.
std::string_view valueOrLiteral(const Machine& m, std::string_view operand);
// The Delphi-like field cut used by several instructions: the text before the first `separator`
// (empty when there is none) and the text after it (everything when there is none).
std::string_view textBefore(std::string_view s, std::string_view separator);
std::string_view textAfter(std::string_view s, std::string_view separator);
// The address of a variable's value: writes "POINTER name >> 0x..." and answers the address.
uint32_t VariableAddress(Machine& m, std::string_view name);
// An integer as its four bytes, lowest first (the machine form of __INT@@ and "##" arguments).
std::string int32Bytes(int32_t value);
// Gives the variable the machine form of value: logs its address with the value's eight hex
// digits, stores the four bytes, appends them to the trace memo, and answers them.
std::string storeMachineForm(Machine& m, std::string_view name, int32_t value);

}  // namespace trel
