// EXTS and EXTL: calls of functions in native libraries with RG1 to RG5 as arguments.
//
// A called function takes five pointer-sized parameters, each the address of an argument's
// zero-terminated bytes or null for an empty argument; EXTL reads an int result, EXTS a pointer to
// a zero-terminated text (null, or an address that cannot be read, leaves RGSTR as it was).
#include <cstdint>

#include "machine/foreign_text.h"
#include "machine/instructions.h"
#include "machine/native_argument.h"
#include "machine/native_library.h"
#include "rtl/errors.h"
#include "rtl/integer_text.h"
#include "rtl/text.h"

namespace trel {

namespace {

enum class ResultKind { Text, Integer };

using IntegerFunction = int (*)(char*, char*, char*, char*, char*);
using TextFunction = const char* (*)(char*, char*, char*, char*, char*);

// The program cannot go on without the function. In the IDE the run ends as after any error (its
// message shown, the user's editor text kept); a standalone program ends its process.
Outcome missingFunction(Machine& m, const std::string& function, const std::string& library) {
  std::string message = "There is no " + function + " or " + library;
  if (m.firstArgumentPresent) throw Error(message);
  m.host.showMessage(message);
  m.host.endProcess(1);
  return Outcome::EndRun;
}

void logCall(Machine& m, void* entry, const std::string& function, const std::string& library) {
  m.debug.append("0x" + hexText(reinterpret_cast<uintptr_t>(entry), 12) + "->CALLING  [" +
                 function + "] in " + library + ".dll");
}

Outcome callNative(Machine& m, RunFrame& f, ResultKind kind) {
  f.dropKeyword(kind == ResultKind::Text ? Instruction::ExtS : Instruction::ExtL);
  std::string library = trim(textBefore(f.text(), ","));
  std::string function = trim(textAfter(f.text(), ","));
  NativeArgumentBuffers args = resolveNativeRegisters(m);

  NativeLibrary lib(library);
  if (!lib.loaded()) return Outcome::Continue;
  void* entry = lib.function(function);
  if (!entry) return missingFunction(m, function, library);
  logCall(m, entry, function, library);

  // The result is copied while the library is still loaded: the text may live in its memory.
  if (kind == ResultKind::Integer) {
    auto call = reinterpret_cast<IntegerFunction>(entry);
    int result =
        call(args.pointer(0), args.pointer(1), args.pointer(2), args.pointer(3), args.pointer(4));
    m.table.SetVariable("RG0", intToText(result));
  } else {
    auto call = reinterpret_cast<TextFunction>(entry);
    const char* result =
        call(args.pointer(0), args.pointer(1), args.pointer(2), args.pointer(3), args.pointer(4));
    // A function that answers a number or a dangling address instead of a text leaves RGSTR as
    // it was, like a null result.
    if (std::optional<std::string> text = readForeignText(result))
      m.table.SetVariable("RGSTR", *text);
  }
  args.writeBack(m);
  return Outcome::Continue;
}

}  // namespace

Outcome runExtS(Machine& m, RunFrame& f) {
  return callNative(m, f, ResultKind::Text);
}
Outcome runExtL(Machine& m, RunFrame& f) {
  return callNative(m, f, ResultKind::Integer);
}

}  // namespace trel
