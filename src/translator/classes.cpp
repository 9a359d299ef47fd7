// Class statements become the interpreter's class markers by plain, case-sensitive replacement in
// the untrimmed entry: a statement written in capitals is recognised but keeps its keyword.
#include "rtl/text.h"
#include "translator/translation.h"

namespace trel {

namespace {
void replaceInEntry(Translation& t, std::string_view from, std::string_view to) {
  t.setEntry(t.index, replaceAll(t.entries[t.index], from, to));
}
}  // namespace

void rewriteClassHeader(Translation& t) {
  replaceInEntry(t, "new class (", "__BEGINCLASS@@ ");
  replaceInEntry(t, ");", "");
  replaceInEntry(t, ")", "");
}

void rewriteClassProperty(Translation& t) {
  replaceInEntry(t, "class property", "__PROPERTY@@");
}
void rewriteClassMethod(Translation& t) {
  replaceInEntry(t, "class method", "__METHOD@@");
}
void rewriteClassEnd(Translation& t) {
  replaceInEntry(t, "endclass", "__ENDCLASS@@");
}
void rewriteClassInherit(Translation& t) {
  replaceInEntry(t, "class inherit ", "__INHERIT@@ ");
}

}  // namespace trel
