#include "core/Conversions.h"
#include "core/QorvError.h"

#include <gtest/gtest.h>

TEST(Conversions, IntegerSpellings) {
    const std::pair<QString, std::optional<int>> cases[] = {
        {"1024", 1024},
        {"-20", -20},
        {"+7", 7},
        {"  42", 42},
        {"$1F", 31},
        {"0x10", 16},
        {"0XfF", 255},
        {"2147483647", 2147483647},
        {"-2147483648", -2147483647 - 1},
        {"2147483648", std::nullopt},
        {"99999999999999999999", std::nullopt},
        {"$FFFFFFFF", -1},
        {"", std::nullopt},
        {"abc", std::nullopt},
        {"12 ", std::nullopt},
        {"1x", std::nullopt},
        {"-", std::nullopt},
        {"0x", std::nullopt},
        {"1.5", std::nullopt},
        {"١٢", std::nullopt},
    };
    for (const auto& [text, value] : cases) {
        EXPECT_EQ(conversions::toInt(text), value) << text.toStdString();
    }
    EXPECT_THROW(conversions::toIntOrThrow("abc"), QorvError);
    EXPECT_EQ(conversions::toIntOr("abc", 1024), 1024);
}
