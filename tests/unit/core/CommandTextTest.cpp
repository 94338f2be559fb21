#include "core/CommandText.h"

#include <gtest/gtest.h>

TEST(CommandText, SubCommandSplitsAtTheFirstSeparator) {
    struct Case {
        QString args, name, parameters;
    };
    const Case cases[] = {
        {"function_saveTextFile@@@note@@@a.txt", "function_saveTextFile", "note@@@a.txt"},
        {"function_full", "function_full", ""},
        {"function_full@@@", "function_full", ""},
        {"@@@x", "", "x"},
        {"@@@@", "", "@"},
        {"", "", ""},
    };
    for (const Case& c : cases) {
        const auto sub = commandtext::subCommand(c.args);
        EXPECT_EQ(sub.name, c.name) << c.args.toStdString();
        EXPECT_EQ(sub.parameters, c.parameters) << c.args.toStdString();
    }
}

TEST(CommandText, SplitReportsWhetherTheSeparatorWasThere) {
    EXPECT_FALSE(commandtext::splitAtFirst("abc").found);
    EXPECT_TRUE(commandtext::splitAtFirst("abc@@@").found);
    EXPECT_EQ(commandtext::slashesToBackslashes("a/b//c"), QStringLiteral("a\\b\\\\c"));
}
