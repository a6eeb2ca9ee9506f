#include "component/message_text.h"

#include <cstdlib>
#include <map>
#include <optional>
#include <string>

#include <gtest/gtest.h>

#include "pphatch/pick_point_hatch.h"

namespace pphatch {
namespace {

const char* const kEnglish107 = "Operation can not be performed with these objects.";

// Clears the variables the language library reads; restores them and the
// library choice after each case.
class MessageLookup : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* name : {"PPHATCH_LANG", "LANGUAGE", "LC_ALL", "LC_MESSAGES", "LANG",
                             "PPHATCH_WORDHOLD_DIR", "PPHATCH_WORDHOLD_CATALOGS"}) {
      const char* value = std::getenv(name);
      saved_[name] = value ? std::optional<std::string>(value) : std::nullopt;
      unsetenv(name);
    }
  }
  void TearDown() override {
    for (const auto& [name, value] : saved_) {
      if (value) setenv(name.c_str(), value->c_str(), 1);
      else unsetenv(name.c_str());
    }
    ResetLanguageLibraryPath();
  }
  std::map<std::string, std::optional<std::string>> saved_;
};

TEST_F(MessageLookup, StringTableAnswersWithoutLibrary) {
  setenv("PPHATCH_LANG", "de", 1);
  // No file, a missing one, a text, and a library without the lookup functions.
  for (const std::string path : {"", PPHATCH_BUILD_DIR "/missing.so",
                                 PPHATCH_SOURCE_DIR "/wordhold/catalogs/de.txt", "libm.so.6"}) {
    SetLanguageLibraryPath(path);
    EXPECT_EQ(MessageText(107), kEnglish107) << path;
  }
  EXPECT_EQ(MessageText(101), "Format|PickPoint & Hatch");
  for (int id : {0, 100, 118}) EXPECT_EQ(MessageText(id), "") << id;
}

TEST_F(MessageLookup, LibraryTranslatesForTheUsersLanguage) {
  setenv("PPHATCH_WORDHOLD_DIR", PPHATCH_BUILD_DIR, 1);  // found by the usual search
  setenv("LANG", "de_DE.UTF-8", 1);
  EXPECT_EQ(MessageText(107), "Die Operation kann mit diesen Objekten nicht ausgeführt werden.");
  EXPECT_EQ(MessageText(104), "Punkt picken  schraffieren");
  EXPECT_EQ(MessageText(999), "");  // known to neither
  setenv("LC_ALL", "fr_FR.UTF-8", 1);  // outranks LANG
  EXPECT_EQ(MessageText(107), "L'opération ne peut pas être effectuée avec ces objets.");
  // No English catalog; "C" and "../de" name no language.
  for (const char* lang : {"en_GB", "C", "../de"}) {
    setenv("PPHATCH_LANG", lang, 1);
    EXPECT_EQ(MessageText(107), kEnglish107) << lang;
  }
}

}  // namespace
}  // namespace pphatch
