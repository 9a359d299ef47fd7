// The fifteen statement tests, in the order the translator tries them on every source line. A
// statement is recognised by the keyword its trimmed text begins with (letter case ignored).
#pragma once

#include <array>
#include <string_view>

namespace trel {

enum class Statement {
  StraySeparator,
  Import,
  Nothing,
  Split,
  ClassHeader,
  ClassProperty,
  ClassMethod,
  ClassEnd,
  ClassInherit,
  External,
  If,
  While,
  Call,
  Def,
  Formula
};

struct StatementTest {
  std::string_view keyword;
  Statement statement;
};

inline constexpr std::array<StatementTest, 15> kStatementTests = {{
    {";", Statement::StraySeparator},
    {"%import ", Statement::Import},
    {"nothing", Statement::Nothing},
    {";", Statement::Split},
    {"new class (", Statement::ClassHeader},
    {"class property", Statement::ClassProperty},
    {"class method", Statement::ClassMethod},
    {"endclass", Statement::ClassEnd},
    {"class inherit ", Statement::ClassInherit},
    {"external", Statement::External},
    {"if (", Statement::If},
    {"while (", Statement::While},
    {"call ", Statement::Call},
    {"def (", Statement::Def},
    {"formula (", Statement::Formula},
}};

constexpr bool testsFollowTheEnumeration() {
  for (size_t i = 0; i < kStatementTests.size(); ++i)
    if (static_cast<size_t>(kStatementTests[i].statement) != i) return false;
  return true;
}
static_assert(testsFollowTheEnumeration(), "test i must be statement i");

constexpr std::string_view statementKeyword(Statement statement) {
  return kStatementTests[static_cast<size_t>(statement)].keyword;
}

}  // namespace trel
