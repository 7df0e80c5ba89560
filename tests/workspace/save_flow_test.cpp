// The save question and the choice of the name to save under.
#include <gtest/gtest.h>

#include <deque>
#include <set>

#include "workspace/save_flow.h"

namespace zarvek::workspace {
namespace {

TEST(SaveFlow, QuerySaveChanges) {
  std::vector<TMessage> asked;
  TAnswer answer = TAnswer::Yes;
  auto ask = [&](const TMessage& m) {
    asked.push_back(m);
    return answer;
  };
  bool modified = true;
  int saves = 0;
  auto save = [&] { ++saves; };
  auto still = [&] { return modified; };

  EXPECT_FALSE(QuerySaveChanges(false, "/p/a.xml", ask, save, still));
  EXPECT_TRUE(asked.empty());

  // Yes, and the save left the editors modified (cancelled): abandon.
  EXPECT_TRUE(QuerySaveChanges(true, "/p/a.xml", ask, save, still));
  ASSERT_EQ(asked.size(), 1u);
  EXPECT_EQ(asked[0].text, "Aktuelle Änderungen in Datei /p/a.xml speichern?");
  EXPECT_EQ(saves, 1);
  modified = false;
  EXPECT_FALSE(QuerySaveChanges(true, "/p/a.xml", ask, save, still));
  answer = TAnswer::No;
  EXPECT_FALSE(QuerySaveChanges(true, "", ask, save, still));
  EXPECT_EQ(asked.back().text, "Aktuelle Änderungen speichern?");
  answer = TAnswer::Cancel;
  EXPECT_TRUE(QuerySaveChanges(true, "", ask, save, still));
  EXPECT_EQ(saves, 2);
}

struct TDialogs {
  std::deque<std::optional<std::string>> names;
  std::deque<TAnswer> answers;
  std::set<std::string> files;
  std::vector<std::string> presets;
  std::vector<TMessage> asked;
  TSaveNameHost Host() {
    return {[this](const std::string& preset) {
              presets.push_back(preset);
              auto n = names.empty() ? std::nullopt : names.front();
              if (!names.empty()) names.pop_front();
              return n;
            },
            [this](const std::string& f) { return files.count(f) > 0; },
            [this](const TMessage& m) {
              asked.push_back(m);
              const TAnswer a = answers.front();
              answers.pop_front();
              return a;
            }};
  }
};

TEST(SaveFlow, WhenANameIsAsked) {
  TDialogs d;
  // A titled project file saves under its name without a dialog.
  EXPECT_EQ(ChooseSaveName(false, false, "/p/a.xml", d.Host()).name, "/p/a.xml");
  EXPECT_EQ(ChooseSaveName(false, false, "/p/a.XML", d.Host()).name, "/p/a.XML");
  EXPECT_TRUE(d.presets.empty());
  // A source file, "Speichern unter" and an untitled project ask.
  d.names = {std::string("/p/b.xml")};
  EXPECT_EQ(ChooseSaveName(false, false, "/p/prog.bas", d.Host()).name, "/p/b.xml");
  EXPECT_EQ(d.presets.back(), "/p/prog");  // the current name without its extension
  d.names = {std::string("/p/c.xml")};
  EXPECT_EQ(ChooseSaveName(true, false, "/p/a.xml", d.Host()).name, "/p/c.xml");
  d.names = {std::nullopt};
  const TSaveNameChoice cancelled = ChooseSaveName(false, true, "Unbenannt.xml", d.Host());
  EXPECT_FALSE(cancelled.name);
  EXPECT_EQ(d.presets.back(), "");  // untitled: no preset
  EXPECT_FALSE(cancelled.forgetCurrentName);
}

TEST(SaveFlow, ReplaceQuestion) {
  TDialogs d;
  d.files = {"/p/x.xml", "/p/y.xml"};
  d.names = {std::string("/p/x.xml"), std::string("/p/y.xml")};
  d.answers = {TAnswer::No, TAnswer::Yes};
  const TSaveNameChoice c = ChooseSaveName(true, false, "/p/a.xml", d.Host());
  EXPECT_EQ(c.name, "/p/y.xml");
  EXPECT_TRUE(c.forgetCurrentName);
  ASSERT_EQ(d.asked.size(), 2u);
  EXPECT_EQ(d.asked[0].text, "Die Datei /p/x.xml besteht bereits. \r\nMöchten Sie sie ersetzen?");
  EXPECT_EQ(d.presets, (std::vector<std::string>{"/p/a", ""}));

  d.names = {std::string("/p/x.xml")};
  d.answers = {TAnswer::Cancel};
  const TSaveNameChoice gaveUp = ChooseSaveName(true, false, "/p/a.xml", d.Host());
  EXPECT_FALSE(gaveUp.name);
  EXPECT_TRUE(gaveUp.forgetCurrentName);
}

}  // namespace
}  // namespace zarvek::workspace
