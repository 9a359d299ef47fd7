// The formula benchmark. For each expression of formula-expressions.tsv (variables a=1.5 b=2.5
// c=3 x=2.2 y=3.7), side by side in one run:
//   first:   compile plus one compute (Trel: CompileAndCompute to the result text;
//            muparser: SetExpr plus the first Eval)
//   compute: computing code compiled before (Trel: ComputeValue, the number; also Compute, the
//            result text; muparser: Eval)
// Each figure is the median of several rounds; the rounds interleave the two sides. Then the
// cost of one @FORMULA step in a running program with 10 and with 5,000 declared variables.
//
//   formula_bench [--quick] [--formulas | --steps]   (--formulas: the expressions alone;
//                                                    --steps: the @FORMULA figures alone)
//   formula_bench --instructions ID [COUNT]          (the compute loops of one expression,
//                                                    for callgrind: tools/bench-formula.sh)
//   formula_bench --count-steps N                    (for callgrind: tools/count-formula-step.sh)
#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "formula/art_formula.h"
#include "machine/machine.h"
#include "shell/terminal_host.h"
#include "translator/translator.h"

#if TREL_WITH_MUPARSER
#include <muParser.h>
#endif

namespace {

using Clock = std::chrono::steady_clock;

// The expressions' variables and their values, the same on both sides.
constexpr std::array<const char*, 5> kNames{"a", "b", "c", "x", "y"};
constexpr std::array<double, 5> kValues{1.5, 2.5, 3, 2.2, 3.7};

struct Expression {
  std::string id, yardstick, ours;
};

std::vector<Expression> readExpressions() {
  std::ifstream in(TREL_FORMULA_EXPRESSIONS);
  std::vector<Expression> list;
  std::string line;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '#' || line.rfind("id\t", 0) == 0) continue;
    std::istringstream fields(line);
    Expression e;
    std::getline(fields, e.id, '\t');
    std::getline(fields, e.yardstick, '\t');
    std::getline(fields, e.ours, '\t');
    list.push_back(e);
  }
  return list;
}

double median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  size_t n = v.size();
  return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

// Nanoseconds per call of `body`, run `count` times.
template <typename F>
double timePerCall(int count, F&& body) {
  auto start = Clock::now();
  for (int i = 0; i < count; ++i) body(i);
  return std::chrono::duration<double, std::nano>(Clock::now() - start).count() / count;
}

volatile double g_sink = 0;

struct Figures {
  std::vector<double> oursFirst, oursCompute, oursComputeText, yardFirst, yardCompute;
};

void formulaBench(const std::vector<Expression>& list, int rounds, int firstCount,
                  int computeCount) {
  const std::vector<std::string> names(kNames.begin(), kNames.end());
  std::vector<trel::TCalcItem> values(kValues.begin(), kValues.end());
  std::vector<Figures> figures(list.size());
  trel::TArtFormula F;
#if TREL_WITH_MUPARSER
  std::array<double, kNames.size()> yardValues = kValues;
  mu::Parser parser;
  for (size_t k = 0; k < kNames.size(); ++k) parser.DefineVar(kNames[k], &yardValues[k]);
#endif
  for (int round = 0; round < rounds; ++round) {
    for (size_t k = 0; k < list.size(); ++k) {
      const Expression& e = list[k];
      Figures& f = figures[k];
      std::string result;
      f.oursFirst.push_back(timePerCall(firstCount, [&](int) {
        F.CompileAndCompute(e.ours, 5, result, values.data(), names.data());
      }));
      F.Compile(e.ours, 5, names.data());
      f.oursCompute.push_back(timePerCall(
          computeCount, [&](int) { g_sink = g_sink + F.ComputeValue(5, values.data()).number; }));
      f.oursComputeText.push_back(timePerCall(computeCount / 10, [&](int) {
        g_sink = g_sink + static_cast<double>(F.Compute(5, values.data()).size());
      }));
#if TREL_WITH_MUPARSER
      // Two spellings, so that every SetExpr sees a new text.
      const std::string spelled[2] = {e.yardstick, e.yardstick + " "};
      f.yardFirst.push_back(timePerCall(firstCount, [&](int i) {
        parser.SetExpr(spelled[i & 1]);
        g_sink = g_sink + parser.Eval();
      }));
      parser.SetExpr(e.yardstick);
      g_sink = g_sink + parser.Eval();
      f.yardCompute.push_back(
          timePerCall(computeCount, [&](int) { g_sink = g_sink + parser.Eval(); }));
#endif
    }
  }

  std::vector<double> firstRatios, computeRatios, oursFirst, oursCompute, yardFirst, yardCompute;
  std::printf("%-4s %12s %12s %9s %12s %12s %12s %9s   %s\n", "id", "first ns", "muparser", "ratio",
              "compute ns", "as text ns", "muparser", "ratio", "formula");
  for (size_t k = 0; k < list.size(); ++k) {
    Figures& f = figures[k];
    double of = median(f.oursFirst), oc = median(f.oursCompute), ot = median(f.oursComputeText);
    oursFirst.push_back(of);
    oursCompute.push_back(oc);
    double yf = 0, yc = 0;
#if TREL_WITH_MUPARSER
    yf = median(f.yardFirst);
    yc = median(f.yardCompute);
    yardFirst.push_back(yf);
    yardCompute.push_back(yc);
    firstRatios.push_back(of / yf);
    computeRatios.push_back(oc / yc);
#endif
    std::printf("%-4s %12.1f %12.1f %9.3f %12.1f %12.1f %12.1f %9.3f   %s\n", list[k].id.c_str(),
                of, yf, yf > 0 ? of / yf : 0, oc, ot, yc, yc > 0 ? oc / yc : 0,
                list[k].ours.c_str());
  }
  std::printf("\nmedian over the %zu expressions:\n", list.size());
  std::printf("  compile + compute: Trel %.1f ns", median(oursFirst));
  if (!yardFirst.empty())
    std::printf(", muparser SetExpr + first Eval %.1f ns; median ratio %.3f (goal < 0.05)",
                median(yardFirst), median(firstRatios));
  std::printf("\n  compute of compiled code: Trel %.1f ns", median(oursCompute));
  if (!yardCompute.empty())
    std::printf(", muparser Eval %.1f ns; median ratio %.3f (goal <= 1.0)", median(yardCompute),
                median(computeRatios));
  std::printf("\n");
}

// The loops whose instructions callgrind counts, out of line so that each one's inclusive cost is
// that of `count` computes (or compilations plus one compute).
[[gnu::noinline]] void oursComputeLoop(trel::TArtFormula& F, trel::TCalcItem* values, int count) {
  for (int i = 0; i < count; ++i) g_sink = g_sink + F.ComputeValue(5, values).number;
}
[[gnu::noinline]] void oursFirstLoop(trel::TArtFormula& F, const std::string& text,
                                     trel::TCalcItem* values, const std::string* names, int count) {
  std::string result;
  for (int i = 0; i < count; ++i) F.CompileAndCompute(text, 5, result, values, names);
}
#if TREL_WITH_MUPARSER
[[gnu::noinline]] void yardstickFirstLoop(mu::Parser& parser, const std::string& text, int count) {
  const std::string spelled[2] = {text, text + " "};
  for (int i = 0; i < count; ++i) {
    parser.SetExpr(spelled[i & 1]);
    g_sink = g_sink + parser.Eval();
  }
}
[[gnu::noinline]] void yardstickComputeLoop(mu::Parser& parser, int count) {
  for (int i = 0; i < count; ++i) g_sink = g_sink + parser.Eval();
}
#endif

int instructionLoops(const std::vector<Expression>& list, const std::string& id, int count) {
  auto e = std::find_if(list.begin(), list.end(), [&](const Expression& x) { return x.id == id; });
  if (e == list.end()) {
    std::fprintf(stderr, "no expression %s\n", id.c_str());
    return 2;
  }
  const std::vector<std::string> names(kNames.begin(), kNames.end());
  std::vector<trel::TCalcItem> values(kValues.begin(), kValues.end());
  trel::TArtFormula F;
  oursFirstLoop(F, e->ours, values.data(), names.data(), count / 10);
  F.Compile(e->ours, 5, names.data());
  oursComputeLoop(F, values.data(), count);
#if TREL_WITH_MUPARSER
  std::array<double, kNames.size()> yardValues = kValues;
  mu::Parser parser;
  for (size_t k = 0; k < kNames.size(); ++k) parser.DefineVar(kNames[k], &yardValues[k]);
  yardstickFirstLoop(parser, e->yardstick, count / 10);
  parser.SetExpr(e->yardstick);
  g_sink = g_sink + parser.Eval();
  yardstickComputeLoop(parser, count);
#endif
  return 0;
}

// Seconds for a program that declares `declared` variables and then loops `iterations` times
// over  @FORMULA i + 1 / i:=RG0 / CMP / IF,  with `formulas` @FORMULA lines (the same formula) and
// `plain` more i:=RG0 lines in the loop.
double formulaLoopProgram(int declared, int iterations, int formulas = 1, int plain = 0) {
  trel::TerminalHost host;
  trel::Machine m(host, trel::sourceTranslator());
  m.debug.setCapacity(64);
  for (int k = 0; k < declared; ++k) m.code.push_back("VAR v" + std::to_string(k));
  m.code.insert(m.code.end(), {"VAR i", "i:=0", "::top"});
  for (int k = 0; k < formulas; ++k) m.code.push_back("@FORMULA i + 1");
  for (int k = 0; k < plain + 1; ++k) m.code.push_back("i:=RG0");
  m.code.insert(m.code.end(), {"CMP i," + std::to_string(iterations), "IF < ::top", "HALT"});
  auto start = Clock::now();
  m.compile(trel::RunMode::Program);
  return std::chrono::duration<double>(Clock::now() - start).count();
}

// Nanoseconds per loop iteration: the difference between a run of 2n and one of n iterations,
// so that the declarations and the rest of the set-up drop out.
double formulaLoopIteration(int declared, int n, int formulas = 1, int plain = 0) {
  return (formulaLoopProgram(declared, 2 * n, formulas, plain) -
          formulaLoopProgram(declared, n, formulas, plain)) /
         n * 1e9;
}

void instructionBench(int rounds, int iterations, int computeCount) {
  std::vector<double> few, many, nine, plain, compute, computeText;
  trel::TArtFormula F;
  const std::string name = "i";
  trel::TCalcItem value(12345);
  F.Compile("i + 1", 1, &name);
  for (int r = 0; r < rounds; ++r) {
    few.push_back(formulaLoopIteration(10, iterations));
    many.push_back(formulaLoopIteration(5000, iterations));
    nine.push_back(formulaLoopIteration(10, iterations, 9));
    plain.push_back(formulaLoopIteration(10, iterations, 1, 1));
    compute.push_back(timePerCall(
        computeCount, [&](int) { g_sink = g_sink + F.ComputeValue(1, &value).number; }));
    computeText.push_back(timePerCall(computeCount, [&](int) {
      g_sink = g_sink + static_cast<double>(F.Compute(1, &value).size());
    }));
  }
  double f = median(few), m = median(many), step = (median(nine) - f) / 8,
         other = median(plain) - f;
  double c = median(compute), t = median(computeText);
  std::printf("\n@FORMULA loop iteration (@FORMULA i + 1, i:=RG0, CMP, IF), median of %d rounds:\n",
              rounds);
  std::printf("  10 declared variables: %.1f ns; 5,000 declared variables: %.1f ns; ratio %.3f\n",
              f, m, m / f);
  std::printf(
      "  one @FORMULA i + 1 step (eight more in the loop, per line): %.1f ns; an i:=RG0 step: %.1f "
      "ns\n",
      step, other);
  std::printf("  the compiled formula i + 1 computed by the component: %.1f ns (as text %.1f ns)\n",
              c, t);
  std::printf("  @FORMULA step / compute: %.2f (goal <= 5); / compute as text: %.2f\n", step / c,
              step / t);
}

// The parts of the @FORMULA figures as functions of their own, for an instruction count per
// function (tools/count-formula-step.sh runs this under callgrind): the step is the difference
// between the loops with two and with one @FORMULA line, without the clock's noise.
[[gnu::noinline]] void countLoopWithOneFormula(int n) {
  formulaLoopProgram(10, n, 1);
}
[[gnu::noinline]] void countLoopWithTwoFormulas(int n) {
  formulaLoopProgram(10, n, 2);
}
[[gnu::noinline]] void countCompute(trel::TArtFormula& F, trel::TCalcItem& value, int n) {
  for (int k = 0; k < n; ++k) g_sink = g_sink + F.ComputeValue(1, &value).number;
}

void countSteps(int n) {
  trel::TArtFormula F;
  const std::string name = "i";
  trel::TCalcItem value(12345);
  F.Compile("i + 1", 1, &name);
  countLoopWithOneFormula(n);
  countLoopWithTwoFormulas(n);
  countCompute(F, value, n);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 3 && std::string(argv[1]) == "--count-steps") {
    countSteps(std::atoi(argv[2]));
    return 0;
  }
  bool quick = false, formulas = true, steps = true;
  for (int k = 1; k < argc; ++k) {
    const std::string arg = argv[k];
    if (arg == "--quick") {
      quick = true;
    } else if (arg == "--formulas") {
      steps = false;
    } else if (arg == "--steps") {
      formulas = false;
    } else if (arg == "--instructions" && k + 1 < argc) {
      const std::string id = argv[k + 1];
      const int count = k + 2 < argc ? std::stoi(argv[k + 2]) : 10000;
      return instructionLoops(readExpressions(), id, count);
    } else {
      std::fprintf(stderr,
                   "usage: formula_bench [--quick] [--formulas | --steps]\n"
                   "       formula_bench --instructions ID [COUNT]\n"
                   "       formula_bench --count-steps N\n");
      return 2;
    }
  }
  std::vector<Expression> list = readExpressions();
  if (list.empty()) {
    std::fprintf(stderr, "no expressions in %s\n", TREL_FORMULA_EXPRESSIONS);
    return 2;
  }
#if !TREL_WITH_MUPARSER
  std::printf("(muparser not built in: Trel's figures alone)\n");
#endif
  if (formulas) formulaBench(list, quick ? 3 : 9, quick ? 100 : 400, quick ? 20000 : 200000);
  if (steps) instructionBench(quick ? 3 : 7, quick ? 20000 : 100000, quick ? 20000 : 200000);
  return 0;
}
