// No instruction newer than the 486 in any object or image of the win32
// build: each is disassembled with the MinGW objdump and every instruction
// is matched against the mnemonics and registers the 486 does not have.
#include <gtest/gtest.h>
#include <stdio.h>

#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "tests/image/image_manifest.h"

namespace {

// Mnemonics after the 486: Pentium (cpuid is in late 486s only, so it is
// refused too; rdtsc, rdmsr/wrmsr, cmpxchg8b, rsm), Pentium Pro (cmov,
// fcmov, fcomi/fucomi, rdpmc, ud2, the long nop), Pentium II and later
// (sysenter, fxsave), MMX, 3DNow!, SSE to AVX (emms, prefetch, fences,
// non-temporal moves, mxcsr, packed and scalar forms), and the later
// integer extensions (popcnt, lzcnt, movbe, crc32, bmi, adx).
const std::regex forbiddenMnemonic(
    "^(cmov[a-z]*|fcmov[a-z]*|f(u)?comip?|rdtscp?|rdpmc|rdmsr|wrmsr|rsm|cpuid|cmpxchg(8|16)b|"
    "sysenter|sysexit|syscall|sysret|ud[012]|nop[wlq]|fxsave|fxrstor|xsave[a-z]*|xrstor[a-z]*|"
    "emms|femms|prefetch[a-z0-9]*|[lms]fence|movnt[a-z]*|[ls]dmxcsr|clflush[a-z]*|fisttp[a-z]*|"
    "popcnt|lzcnt|tzcnt|movbe|crc32[a-z]*|andn|bextr|blsi|blsmsk|blsr|bzhi|pdep|pext|"
    "mulx|rorx|sarx|shlx|shrx|adcx|adox|rdrand|rdseed|"
    "v[a-z0-9]+|"
    "(add|sub|mul|div|min|max|sqrt|rcp|rsqrt|and|andn|or|xor|cmp|mov[a-z]*|unpck[a-z]+|shuf|"
    "cvt[a-z0-9]*|u?comi)(p|s)[sd]|"
    "p[a-z0-9]+|mov[dq]|movq2dq|movdq2q|maskmov[a-z]*|lddqu|"
    "haddp[sd]|hsubp[sd]|addsubp[sd]|ldmxcsr|stmxcsr)$");
// Registers the 486 does not have.
const std::regex forbiddenOperand("%(x|y|z)?mm[0-9]|%k[0-7]\\b|%cr4\\b");
// Legitimate 486 mnemonics that the broad families above would catch.
const std::regex allowedMnemonic("^(push[a-z]*|pop[a-z]*|pause|verr|verw)$");
const std::regex prefix(
    "^(lock|rep|repz|repe|repnz|repne|data16|data32|addr16|addr32|"
    "cs|ds|es|fs|gs|ss|bnd|notrack)$");

enum LineKind { NotAnInstruction, Allowed, NewerThan486 };

// One line of objdump -d: "  401000:\tpush   %ebp", the address (padded
// to eight digits only when shorter), a tab, the instruction with its
// prefixes.
LineKind classify(const std::string& line) {
  static const std::regex address("^ *[0-9a-f]+:\t");
  std::smatch found;
  if (!std::regex_search(line, found, address)) return NotAnInstruction;
  std::istringstream words(found.suffix().str());
  std::string mnemonic;
  while (words >> mnemonic && std::regex_match(mnemonic, prefix)) {
  }
  if (mnemonic.empty() || mnemonic == "(bad)") return NotAnInstruction;
  const bool newer = (std::regex_match(mnemonic, forbiddenMnemonic) &&
                      !std::regex_match(mnemonic, allowedMnemonic)) ||
                     std::regex_search(line, forbiddenOperand);
  return newer ? NewerThan486 : Allowed;
}

struct Disassembly {
  bool ran = false;
  std::vector<std::string> offending;
  int instructions = 0;
};

Disassembly disassemble(const std::string& path) {
  Disassembly result;
  const std::string command =
      std::string(objdumpCommand()) + " -d --no-show-raw-insn '" + path + "' 2>&1";
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return result;
  std::string output;
  char buffer[4096];
  size_t got;
  while ((got = fread(buffer, 1, sizeof buffer, pipe)) > 0) output.append(buffer, got);
  result.ran = pclose(pipe) == 0;
  std::istringstream lines(output);
  std::string line;
  while (std::getline(lines, line)) {
    const LineKind kind = classify(line);
    if (kind != NotAnInstruction) ++result.instructions;
    if (kind == NewerThan486) result.offending.push_back(line);
  }
  return result;
}

TEST(CpuLevelTest, NoInstructionNewerThanThe486) {
  const std::vector<std::string> objects = win32BuildObjects();
  std::vector<std::string> files = objects;
  for (const ImageRow& row : win32BuildImages()) files.push_back(row.path);
  ASSERT_FALSE(win32BuildObjects().empty()) << "no object in " << win32BinaryDir();
  ASSERT_FALSE(win32BuildImages().empty()) << "no image listed in " << win32BinaryDir();
  for (const std::string& file : files) {
    const Disassembly d = disassemble(file);
    EXPECT_TRUE(d.ran) << objdumpCommand() << " failed on " << file;
    // An object may hold data only; an image always has code.
    const bool isObject = file.size() > 4 && file.compare(file.size() - 4, 4, ".obj") == 0;
    if (!isObject) {
      EXPECT_GT(d.instructions, 0) << "no instruction read from " << file;
    }
    std::string listing;
    for (const std::string& line : d.offending) listing += "\n" + line;
    EXPECT_TRUE(d.offending.empty()) << file << " has instructions newer than the 486:" << listing;
  }
}

// The patterns themselves, on lines in objdump's format, so a typo in them
// cannot make the test above pass by matching nothing.
TEST(CpuLevelTest, PatternsTellNewerInstructionsApart) {
  struct Row {
    const char* mnemonic;
    const char* operands;
    bool newer;
  };
  const Row rows[] = {
      {"cmovne", "%edx,%eax", true},
      {"fcmovb", "%st(1),%st", true},
      {"fucomip", "%st(1),%st", true},
      {"rdtsc", "", true},
      {"cpuid", "", true},
      {"cmpxchg8b", "(%esi)", true},
      {"ud2", "", true},
      {"nopw", "0x0(%eax,%eax,1)", true},
      {"sysenter", "", true},
      {"movd", "%eax,%mm0", true},
      {"paddb", "%mm1,%mm0", true},
      {"movaps", "%xmm0,(%esp)", true},
      {"xorps", "%xmm0,%xmm0", true},
      {"prefetchnta", "(%eax)", true},
      {"mfence", "", true},
      {"movntq", "%mm0,(%eax)", true},
      {"push", "%ebp", false},
      {"popl", "0x4(%eax)", false},
      {"mov", "%esp,%ebp", false},
      {"cmpxchg", "%ecx,(%edx)", false},
      {"xadd", "%eax,(%edx)", false},
      {"bswap", "%eax", false},
      {"nop", "", false},
      {"lea", "0x0(%esi,%eiz,1),%esi", false},
      {"fcomp", "%st(1)", false},
      {"fucompp", "", false},
      {"rep", "stos %al,%es:(%edi)", false},
      {"lock", "cmpxchg %ecx,(%edx)", false},
  };
  // objdump pads short addresses (a program's) but not long ones (a DLL's).
  for (const char* address : {"  401000:\t", "68741000:\t"}) {
    for (const Row& row : rows) {
      const std::string line = std::string(address) + row.mnemonic + " " + row.operands;
      EXPECT_EQ(classify(line), row.newer ? NewerThan486 : Allowed) << line;
    }
  }
  EXPECT_EQ(classify("68741000 <_DllMain@12>:"), NotAnInstruction);
  EXPECT_EQ(classify("Disassembly of section .text:"), NotAnInstruction);
}

}  // namespace
