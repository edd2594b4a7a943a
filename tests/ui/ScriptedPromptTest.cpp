#include <gtest/gtest.h>

#include "ui/ScriptedPrompt.h"

using namespace ui;

TEST(ScriptedPrompt, AnswersInOrderAndRecordsEveryBox) {
    ScriptedPrompt prompt;
    prompt.Answer(PromptAnswer::Yes);
    prompt.Answer(PromptAnswer::No);
    EXPECT_TRUE(prompt.YesNo("first?", "Q"));
    // A notice in between does not use up a scripted answer.
    prompt.Error("bad", "Read File", false);
    EXPECT_FALSE(prompt.YesNo("second?", "Q"));
    ASSERT_EQ(prompt.Records().size(), 3u);
    EXPECT_EQ(prompt.Records()[0].text, "first?");
    EXPECT_EQ(prompt.Records()[0].icon, PromptIcon::Question);
    EXPECT_EQ(prompt.Records()[1].caption, "Read File");
    EXPECT_EQ(prompt.Records()[1].icon, PromptIcon::Error);
    EXPECT_FALSE(prompt.Records()[1].owned);
    EXPECT_EQ(prompt.Records()[2].answer, PromptAnswer::No);
    EXPECT_EQ(prompt.Unscripted(), 0);
}

TEST(ScriptedPrompt, UnscriptedQuestionsGetTheSafeAnswer) {
    ScriptedPrompt prompt;
    EXPECT_FALSE(prompt.YesNo("overwrite?", "Q"));
    EXPECT_EQ(prompt.Ask("t", "c", PromptIcon::Warning, PromptButtons::OkCancel),
              PromptAnswer::Cancel);
    // An answer the box does not offer is left for a later box.
    prompt.Answer(PromptAnswer::Ok);
    EXPECT_EQ(prompt.Ask("t", "c", PromptIcon::None, PromptButtons::YesNoCancel),
              PromptAnswer::Cancel);
    EXPECT_EQ(prompt.Pending(), 1u);
    EXPECT_EQ(prompt.Unscripted(), 3);
}
