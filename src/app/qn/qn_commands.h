// The qn commands. Each takes the arguments after its name and answers the exit status:
// 0 success, 1 the run or translation stopped with an error, 2 a usage or file error of qn itself,
// 3 the step limit was reached.
#pragma once

#include <string>
#include <vector>

namespace trel::qn {

using Args = std::vector<std::string>;

int runCommand(const Args& args);        // qn run FILE [OPTIONS]
int execCommand(const Args& args);       // qn exec FILE [OPTIONS]
int translateCommand(const Args& args);  // qn translate FILE
int exportCommand(const Args& args);     // qn export FILE
int buildCommand(const Args& args);      // qn build FILE -o OUT [--stub PATH]
int unpackCommand(const Args& args);     // qn unpack EXE
int evalCommand(const Args& args);       // qn eval FORMULA
int debugCommand(const Args& args);      // qn debug FILE [OPTIONS]
int lspCommand(const Args& args);        // qn lsp

// Reports a usage or file error of qn itself and answers 2.
int usageError(const std::string& message);
// Reads a file, or reports why not; false when it could not be read.
bool readInputFile(const std::string& path, std::string& text);

// The FILE that stands for standard input.
inline constexpr char kStandardInputName[] = "-";
// Reads a program: FILE's text, or all of standard input for "-".
bool readProgramFile(const std::string& path, std::string& text);
// The name diagnostics give the program: FILE, or "<stdin>".
std::string sourceNameOf(const std::string& path);

}  // namespace trel::qn
