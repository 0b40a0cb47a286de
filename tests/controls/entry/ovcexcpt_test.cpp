// The library's exceptions take their messages from its table.
#include "controls/entry/ovcexcpt.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

TEST(OvcExceptions, ARangeErrorNamesTheLimitsOfItsDataType)
{
    const std::vector<std::pair<int, std::string>> Cases = {
        {4, "Invalid range. Enter a value between (-2147483648) and (2147483647)"},
        {5, "Invalid range. Enter a value between (0) and (65535)"},
        {6, "Invalid range. Enter a value between (-32768) and (32767)"},
        {7, "Invalid range. Enter a value between (0) and (255)"},
        {8, "Invalid range. Enter a value between (-128) and (127)"},
        {9, "Invalid range. Enter a value between (-1.7e+38) and (+1.7e+38)"},
        {10, "Invalid range. Enter a value between (-1.1e+4932) and (+1.1e+4932)"},
        {11, "Invalid range. Enter a value between (-1.7e+308) and (+1.7e+308)"},
        {12, "Invalid range. Enter a value between (-3.4e+38) and (+3.4e+38)"},
        {13, "Invalid range. Enter a value between (-9.2e+18) and (+9.2e+18)"},
        {14, "Invalid date range. Enter a value using 'MM/dd/yyyy' as the format"},
        {15, "Invalid time range. Enter a value using 'hh:mm' as the format"},
        {0, "Invalid range value"},
        {3, "Invalid range value"},
        {16, "Invalid range value"},
    };
    for (const auto& Case : Cases) {
        const std::string Picture = Case.first == 14 ? "MM/dd/yyyy" : "hh:mm";
        EXPECT_EQ(EInvalidRangeValue(Case.first, Picture).Message(), Case.second) << Case.first;
    }
}

TEST(OvcExceptions, EachClassCarriesItsMessageAndEditorErrorsTheirCode)
{
    EXPECT_EQ(EInvalidTriggerHandle().Message(), "Invalid trigger handle");
    EXPECT_EQ(ENoTimersAvailable().Message(), "No Window's timers are available");
    EXPECT_EQ(ENoControllerAssigned().Message(), "No Controller assigned");
    EXPECT_EQ(EDuplicateCommand().Message(),
              "Duplicate command found while adding a new command to the table");
    EXPECT_EQ(ETableNotFound().Message(),
              "Command table not found or command table index out of range");
    EXPECT_EQ(EInvalidDataType().Message(), "Invalid data type for this field");
    EXPECT_EQ(EInvalidPictureMask("##x").Message(), "Invalid picture mask: ##x");
    EXPECT_EQ(EInvalidFixedFont().Message(), "Invalid font assignment. Font must be a fixed font");

    const EInvalidLineOrCol LineOrCol;
    EXPECT_EQ(LineOrCol.Message(), "Invalid line or column");
    EXPECT_EQ(LineOrCol.ErrorCode, 0);
    EXPECT_EQ(EInvalidLineOrPara().Message(), "Invalid line or paragraph index");
    const EEditorError Editor("insufficient memory", 263);
    EXPECT_EQ(Editor.ErrorCode, 263);
    EXPECT_EQ(EOvcException("x").ErrorCode, 0);

    // Caught by the family they belong to.
    EXPECT_THROW(throw EInvalidTriggerHandle(), ETimerPoolError);
    EXPECT_THROW(throw EInvalidLineOrPara(), EOvcException);
}
