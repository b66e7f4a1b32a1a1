#include "kit/ShortNumber.h"

#include <gtest/gtest.h>

namespace pipfield {
namespace {

const QLocale kKorean(QLocale::Korean, QLocale::SouthKorea);
const QLocale kEnglish(QLocale::English, QLocale::UnitedStates);

TEST(ShortNumber, GroupsDigitsBelowTenThousandAndCompactsFromThereInTheLocalesUnits) {
    EXPECT_EQ(shortNumber(1234567, kKorean), QStringLiteral("123.5만"));
    EXPECT_EQ(shortNumber(120000000, kKorean), QStringLiteral("1.2억"));
    EXPECT_EQ(shortNumber(-12345, kKorean), QStringLiteral("-12,345"));
    EXPECT_EQ(shortNumber(9999, kEnglish), QStringLiteral("9,999"));
    EXPECT_EQ(shortNumber(12345, kEnglish), QStringLiteral("12.3K"));
}

} // namespace
} // namespace pipfield
