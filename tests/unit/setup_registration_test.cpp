// The setup files in setup/: the INF that installs and removes the page
// and the .reg for registering by hand. Both must name the class the
// library serves, and the INF must take away everything it adds.
#include <gtest/gtest.h>
#include <stdio.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "page/module_state.h"

namespace {

const std::filesystem::path setupDir =
    std::filesystem::path(__FILE__).parent_path().parent_path().parent_path() / "setup";

const char displayHandlerKey[] =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Controls Folder\\Display\\shellex\\"
    "PropertySheetHandlers\\OBXPage";
const char uninstallKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\OBXPage";

std::string readFile(const std::string& name) {
  std::ifstream in(setupDir / name, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

// "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}" in capitals, from the constant.
std::string registryForm(const GUID& g) {
  char text[39];
  snprintf(text, sizeof text, "{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}",
           static_cast<unsigned>(g.Data1), g.Data2, g.Data3, g.Data4[0], g.Data4[1], g.Data4[2],
           g.Data4[3], g.Data4[4], g.Data4[5], g.Data4[6], g.Data4[7]);
  return text;
}

std::vector<std::string> guidsIn(const std::string& text) {
  const std::regex guid(
      "\\{[0-9A-Fa-f]{8}-[0-9A-Fa-f]{4}-[0-9A-Fa-f]{4}-[0-9A-Fa-f]{4}-"
      "[0-9A-Fa-f]{12}\\}");
  std::vector<std::string> found;
  for (auto it = std::sregex_iterator(text.begin(), text.end(), guid); it != std::sregex_iterator();
       ++it) {
    found.push_back(it->str());
  }
  return found;
}

// An INF as sections of lines, comments and blank lines left out, each
// line split at the commas outside quotes, quotes removed.
using Line = std::vector<std::string>;
using Inf = std::map<std::string, std::vector<Line>>;

Line splitFields(const std::string& line) {
  Line fields(1);
  bool quoted = false;
  for (char c : line) {
    if (c == '"') {
      quoted = !quoted;
    } else if (c == ',' && !quoted) {
      fields.emplace_back();
    } else {
      fields.back() += c;
    }
  }
  return fields;
}

Inf parseInf(const std::string& text) {
  Inf inf;
  std::string section;
  std::istringstream lines(text);
  std::string line;
  while (std::getline(lines, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty() || line[0] == ';') continue;
    if (line[0] == '[') {
      section = line.substr(1, line.find(']') - 1);
      inf[section];
      continue;
    }
    inf[section].push_back(splitFields(line));
  }
  return inf;
}

// The value of "key=value" lines of a section.
std::string entry(const Inf& inf, const std::string& section, const std::string& key) {
  if (inf.count(section) == 0) return "";
  for (const Line& line : inf.at(section)) {
    const std::string& first = line[0];
    if (first.compare(0, key.size() + 1, key + "=") == 0) {
      std::string value = first.substr(key.size() + 1);
      for (size_t i = 1; i < line.size(); ++i) value += "," + line[i];
      return value;
    }
  }
  return "";
}

// Registry lines "root,subkey,value name,flags,data" of an AddReg section.
struct RegLine {
  std::string root, key, name, data;
};
std::vector<RegLine> regLines(const Inf& inf, const std::string& section) {
  std::vector<RegLine> result;
  if (inf.count(section) == 0) return result;
  for (const Line& line : inf.at(section)) {
    RegLine r;
    r.root = line[0];
    if (line.size() > 1) r.key = line[1];
    if (line.size() > 2) r.name = line[2];
    if (line.size() > 4) r.data = line[4];
    result.push_back(r);
  }
  return result;
}

const RegLine* findReg(const std::vector<RegLine>& lines, const std::string& root,
                       const std::string& key, const std::string& name) {
  for (const RegLine& r : lines) {
    if (r.root == root && r.key == key && r.name == name) return &r;
  }
  return nullptr;
}

class SetupFilesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    infText = readFile("OBXPage.inf");
    regText = readFile("OBXPage.reg");
    ASSERT_FALSE(infText.empty()) << "no " << (setupDir / "OBXPage.inf");
    ASSERT_FALSE(regText.empty()) << "no " << (setupDir / "OBXPage.reg");
    inf = parseInf(infText);
  }
  std::string infText, regText;
  Inf inf;
  const std::string clsid = registryForm(CLSID_PageExtension);
};

TEST_F(SetupFilesTest, BothNameTheClassTheLibraryServes) {
  for (const std::string* text : {&infText, &regText}) {
    const std::vector<std::string> guids = guidsIn(*text);
    EXPECT_FALSE(guids.empty());
    for (const std::string& g : guids) EXPECT_EQ(g, clsid);
  }
}

TEST_F(SetupFilesTest, InfIsAWindows95InfThatCopiesTheDllAndItself) {
  EXPECT_EQ(entry(inf, "Version", "Signature"), "$CHICAGO$");
  EXPECT_EQ(entry(inf, "DefaultInstall", "CopyFiles"), "OBXPage.CopyDll,OBXPage.CopyInf");
  EXPECT_EQ(entry(inf, "DefaultInstall", "AddReg"), "OBXPage.AddReg");
  EXPECT_EQ(entry(inf, "DestinationDirs", "OBXPage.CopyDll"), "11") << "the system folder";
  EXPECT_EQ(entry(inf, "DestinationDirs", "OBXPage.CopyInf"), "17") << "the INF folder";
  ASSERT_EQ(inf["OBXPage.CopyDll"].size(), 1u);
  EXPECT_EQ(inf["OBXPage.CopyDll"][0][0], "OBXPage.dll");
  ASSERT_EQ(inf["OBXPage.CopyInf"].size(), 1u);
  EXPECT_EQ(inf["OBXPage.CopyInf"][0][0], "OBXPage.inf");
}

TEST_F(SetupFilesTest, InfRegistersTheServerAndTheDisplayHandler) {
  const std::vector<RegLine> add = regLines(inf, "OBXPage.AddReg");
  const std::string classKey = "CLSID\\" + clsid;
  ASSERT_NE(findReg(add, "HKCR", classKey, ""), nullptr);
  EXPECT_FALSE(findReg(add, "HKCR", classKey, "")->data.empty()) << "the class has a name";
  const RegLine* server = findReg(add, "HKCR", classKey + "\\InprocServer32", "");
  ASSERT_NE(server, nullptr);
  EXPECT_EQ(server->data, "%11%\\OBXPage.dll");
  const RegLine* threading = findReg(add, "HKCR", classKey + "\\InprocServer32", "ThreadingModel");
  ASSERT_NE(threading, nullptr);
  EXPECT_EQ(threading->data, "Apartment");
  const RegLine* handler = findReg(add, "HKLM", displayHandlerKey, "");
  ASSERT_NE(handler, nullptr);
  EXPECT_EQ(handler->data, clsid);
}

TEST_F(SetupFilesTest, InfListsItsUninstallInAddRemovePrograms) {
  const std::vector<RegLine> add = regLines(inf, "OBXPage.AddReg");
  ASSERT_NE(findReg(add, "HKLM", uninstallKey, "DisplayName"), nullptr);
  const RegLine* command = findReg(add, "HKLM", uninstallKey, "UninstallString");
  ASSERT_NE(command, nullptr);
  std::smatch m;
  ASSERT_TRUE(std::regex_match(command->data, m,
                               std::regex("RunDll setupx\\.dll,InstallHinfSection (\\S+) 4 "
                                          "OBXPage\\.inf")))
      << command->data;
  EXPECT_EQ(inf.count(m[1].str()), 1u) << "the command names a section of this INF";
}

TEST_F(SetupFilesTest, InfUninstallTakesAwayEveryKeyAndFileItAdds) {
  EXPECT_EQ(entry(inf, "DefaultUninstall", "DelFiles"), "OBXPage.CopyDll,OBXPage.CopyInf");
  EXPECT_EQ(entry(inf, "DefaultUninstall", "DelReg"), "OBXPage.DelReg");
  // A key deleted takes its subkeys with it.
  std::vector<std::string> deleted;
  for (const RegLine& r : regLines(inf, "OBXPage.DelReg")) {
    EXPECT_TRUE(r.name.empty()) << "whole keys are removed: " << r.key;
    deleted.push_back(r.root + "\\" + r.key);
  }
  for (const RegLine& r : regLines(inf, "OBXPage.AddReg")) {
    const std::string added = r.root + "\\" + r.key;
    bool removed = false;
    for (const std::string& d : deleted) {
      removed = removed || added == d || added.compare(0, d.size() + 1, d + "\\") == 0;
    }
    EXPECT_TRUE(removed) << added << " stays after the uninstall";
  }
}

TEST_F(SetupFilesTest, RegFileHoldsTheSameKeysForRegedit) {
  EXPECT_EQ(regText.compare(0, 10, "REGEDIT4\r\n"), 0);
  const std::string classKey = "[HKEY_CLASSES_ROOT\\CLSID\\" + clsid + "]\r\n@=\"";
  EXPECT_NE(regText.find(classKey), std::string::npos);
  EXPECT_NE(regText.find("[HKEY_CLASSES_ROOT\\CLSID\\" + clsid +
                         "\\InprocServer32]\r\n@=\"OBXPage.dll\"\r\n\"ThreadingModel\"="
                         "\"Apartment\"\r\n"),
            std::string::npos);
  EXPECT_NE(regText.find("[HKEY_LOCAL_MACHINE\\" + std::string(displayHandlerKey) + "]\r\n@=\"" +
                         clsid + "\"\r\n"),
            std::string::npos);
}

}  // namespace
