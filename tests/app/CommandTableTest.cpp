#include <gtest/gtest.h>

#include "app/CommandIds.h"
#include "app/CommandTable.h"

using namespace cmd;

TEST(CommandTable, PromptsSplitIntoStatusTextAndToolTip) {
    EXPECT_EQ(StatusText(ID_READ_PAGER), "Read codeplug from pager");
    EXPECT_EQ(ToolTipText(ID_READ_PAGER), "Read Codeplug From a Pager");
    EXPECT_EQ(StatusText(ID_SYSTEM_SETUP), "Setup the serial communication port");
    EXPECT_EQ(ToolTipText(ID_ENGINEER_LOGON), "Engineer Logon");
    EXPECT_EQ(StatusText(ID_ENGINEER_LOGON),
              "Logon as engineer user to be able to view/modify codeplug engineer data");
    EXPECT_EQ(ToolTipText(ID_FILE_OPEN), "Open a Codeplug Data File");
    EXPECT_EQ(ToolTipText(ID_FILE_SAVE), "Save Current Codeplug to the File");
    EXPECT_EQ(StatusText(ID_APP_EXIT), "Quit the application; prompts to save documents");
    EXPECT_EQ(ToolTipText(ID_VIEW_STATUS_BAR), "Toggle StatusBar");
    // Commands without a string table entry show nothing.
    EXPECT_EQ(StatusText(ID_USB_DELAY), "");
    EXPECT_EQ(ToolTipText(12345), "");
}

TEST(CommandTable, EnablingFollowsDataValidAndEngineerMode) {
    for (int id : {ID_WRITE_PAGER, ID_USER_DATA, ID_FALSING_ALERT, ID_FILE_SAVE, ID_FILE_SAVE_AS,
                   ID_FILE_PRINT, ID_FILE_PRINT_PREVIEW, ID_PROGRAM_FLEET}) {
        EXPECT_FALSE(IsEnabled(id, false, true)) << id;
        EXPECT_TRUE(IsEnabled(id, true, false)) << id;
    }
    for (int id : {ID_READ_PAGER, ID_SYSTEM_SETUP, ID_USB_DELAY, ID_ENGINEER_LOGON, ID_FILE_OPEN,
                   ID_APP_ABOUT, ID_HELP})
        EXPECT_TRUE(IsEnabled(id, false, false)) << id;
    EXPECT_FALSE(IsEnabled(ID_ENGINEER_DATA, true, false));
    EXPECT_FALSE(IsEnabled(ID_ENGINEER_DATA, false, true));
    EXPECT_TRUE(IsEnabled(ID_ENGINEER_DATA, true, true));
}

TEST(CommandTable, PagerMessagesKeepTheirNumbers) {
    EXPECT_EQ(WM_PAGER_WRITE_OK, 0x5F4);
    EXPECT_EQ(WM_PAGER_READ_FAILED, 0x5F7);
}
