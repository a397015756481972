// frmMessage, the disconnect question, shown modally through the fake host:
// the answer it leaves, what closing it without an answer leaves, and the
// "DoNotAsk" choice it stores.
#include <gtest/gtest.h>

#include "fakes/program_fixture.h"
#include "ui/message_form.h"

namespace corvane::testing {
namespace {

enum class Answer { Yes, No, CloseBox };

class MessageFormTest : public ::testing::Test, public ProgramFixture {
 protected:
  MessageFormTest() {
    Start("Work");  // no number: the dialer waits for the user
    question = &context->frmMessage;
  }

  MessageForm& Form() { return *question; }

  // Shows the question as the Disconnect command does and lets the user
  // tick the box (or not) and answer.
  void Ask(Answer answer, bool tick = false) {
    formHost.answer = [&, answer, tick](forms::Form& shown) {
      auto& question = dynamic_cast<MessageForm&>(shown);
      // What the user sees while deciding.
      EXPECT_TRUE(question.Visible());
      EXPECT_EQ(question.chkAsk.Value(), 0);
      EXPECT_EQ(question.ActiveControl(), &question.cmdYes);
      if (tick) question.chkAsk.OnUserValue(1);
      if (answer == Answer::Yes) question.cmdYes.OnUserClick();
      if (answer == Answer::No) question.cmdNo.OnUserClick();
      if (answer == Answer::CloseBox) question.Unload(forms::kUnloadControlMenu);
    };
    context->Platform.Forms.ShowModal(Form());
  }

  MessageForm* question = nullptr;

  std::optional<std::string> StoredDoNotAsk() {
    return registry.RawValue(RegHive::CurrentUser, EntryKey("Work"), "DoNotAsk");
  }
};

TEST_F(MessageFormTest, DesignTexts) {
  EXPECT_EQ(Form().Caption(), "Active Internet connection!");
  EXPECT_EQ(Form().lblMess.Caption(), "Do you want to disconnect the active Internet connection?");
  EXPECT_EQ(Form().chkAsk.Caption(), "&Do not ask me again");
  EXPECT_EQ(Form().cmdYes.Caption(), "&Yes");
  EXPECT_EQ(Form().cmdNo.Caption(), "&No");
  EXPECT_EQ(Form().DisconnectDeclined, 0);
}

TEST_F(MessageFormTest, AnswerSetsTheFlagAndUnloads) {
  Ask(Answer::No);
  EXPECT_EQ(Form().DisconnectDeclined, 1);
  EXPECT_FALSE(Form().Loaded());
  EXPECT_FALSE(Form().Visible());

  Ask(Answer::Yes);
  EXPECT_EQ(Form().DisconnectDeclined, 0);
  EXPECT_FALSE(Form().Loaded());

  ASSERT_EQ(formHost.shown.size(), 2u);
  EXPECT_EQ(formHost.shown[0].form, "frmMessage");
  EXPECT_TRUE(formHost.shown[0].modal);
}

TEST_F(MessageFormTest, CloseBoxLeavesTheFlagAsItWasAndStoresNothing) {
  // At the first disconnect of a run the flag is still 0: the caller hangs up.
  Ask(Answer::CloseBox, /*tick=*/true);
  EXPECT_EQ(Form().DisconnectDeclined, 0);
  EXPECT_FALSE(Form().Loaded());
  EXPECT_FALSE(StoredDoNotAsk().has_value());
  EXPECT_EQ(context->Line.RunningEntry().DoNotAsk, 0);

  Ask(Answer::No);
  Ask(Answer::CloseBox);
  EXPECT_EQ(Form().DisconnectDeclined, 1);
}

TEST_F(MessageFormTest, AnswerStoresTheBoxInTheCurrentEntry) {
  struct Case {
    Answer answer;
    bool tick;
    const char* stored;
  };
  for (const Case& c : {Case{Answer::Yes, true, "1"}, Case{Answer::No, true, "1"}, Case{Answer::Yes, false, "0"},
                        Case{Answer::No, false, "0"}}) {
    SCOPED_TRACE(std::string(c.answer == Answer::Yes ? "Yes" : "No") + (c.tick ? " ticked" : " unticked"));
    registry.DeleteKey(RegHive::CurrentUser, EntryKey("Work"));
    context->Line.DoNotAskChosen(0);
    Ask(c.answer, c.tick);
    EXPECT_EQ(StoredDoNotAsk(), std::string(c.stored) + '\0');
    // The next Disconnect of this run honours the choice at once.
    EXPECT_EQ(context->Line.RunningEntry().DoNotAsk, c.tick ? 1 : 0);
  }
  EXPECT_EQ(registry.OpenKeyCount(), 0u);
}

TEST_F(MessageFormTest, CustomEntryStoresUnderItsStarredKey) {
  const std::string runningEntry = "*Provider";
  MessageForm custom(context->Store, runningEntry, context->frmDialer, nullptr);
  question = &custom;
  Ask(Answer::Yes, /*tick=*/true);
  EXPECT_EQ(registry.RawValue(RegHive::CurrentUser, EntryKey("*Provider"), "DoNotAsk"), std::string("1\0", 2));
}

TEST_F(MessageFormTest, FailedWriteStoresNothingAndTheAnswerStillCounts) {
  registry.setValueFailure = 5;  // access denied
  Ask(Answer::No, /*tick=*/true);
  EXPECT_FALSE(registry.RawValue(RegHive::CurrentUser, EntryKey("Work"), "DoNotAsk").has_value());
  EXPECT_EQ(Form().DisconnectDeclined, 1);
  EXPECT_FALSE(Form().Loaded());
}

TEST_F(MessageFormTest, PictureIsTheDialerWindowsIcon) {
  context->frmDialer.SetIcon(14);
  Ask(Answer::Yes);
  EXPECT_EQ(Form().Image1.Picture(), 14);
}

}  // namespace
}  // namespace corvane::testing
