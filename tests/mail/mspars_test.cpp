// tests/mail/mspars_test.cpp: header field look-up, encoded words, addresses and dates.
#include "mail/mspars.h"

#include "platform/rtl/datetime.h"
#include "platform/rtl/exceptions.h"
#include "platform/rtl/formatsettings.h"
#include "tests/support/locales.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

void SetLines(ZevHeaders& Headers, const std::vector<std::string>& Lines)
{
    Headers.Clear();
    for (const auto& Line : Lines)
        Headers.Add(Line);
}

std::vector<std::string> Items(const TStrings& List)
{
    std::vector<std::string> Result;
    for (int I = 0; I < List.Count(); ++I)
        Result.push_back(List.Get(I));
    return Result;
}

std::vector<std::string> FieldList(const std::vector<std::string>& Lines, const std::string& Name)
{
    ZevHeaders Headers;
    SetLines(Headers, Lines);
    TStringList List;
    List.Add("left over");
    Headers.GetFieldList(Name, &List);
    return Items(List);
}

} // namespace

TEST(HeaderFields, FindTheFirstFieldWithoutCaseAndSkipOnlyBlanksAfterTheColon)
{
    struct Case {
        std::vector<std::string> Lines;
        std::string Name;
        std::string Value;
    };
    const std::vector<Case> Cases = {
        {{"Subject: Hello"}, "Subject", "Hello"},
        {{"subject:  Hello"}, "SUBJECT:", "Hello"},
        {{"Subject:Hello"}, "Subject", "Hello"},
        {{"Subject:\tHello  "}, "subject", "Hello"},
        {{"From: a@b", "Subject: first", "Subject: second"}, "Subject", "first"},
        {{"Subject-Extra: no", "Subject: yes"}, "Subject", "yes"},
        {{"From: a@b"}, "Subject", ""},
        {{}, "Subject", ""},
        {{"Subject:"}, "Subject", ""},
        {{"Subject: Part one", "\tpart two", "  part three", "From: x"},
         "Subject",
         "Part one part two part three"},
        {{"Subject:", " folded"}, "Subject", "folded"},
        {{"Subject: =?iso-8859-1?Q?Gr=FC=DFe?="},
         "Subject",
         "Gr\xFC\xDF"
         "e"},
        {{"Content-Type: text/plain; name=\"=?x?Q?a_b?=\""},
         "Content-Type",
         "text/plain; name=\"=?x?Q?a_b?=\""},
        {{"X-UIDL: =?x?Q?a?="}, "x-uidl", "=?x?Q?a?="},
    };
    for (const auto& C : Cases) {
        ZevHeaders Headers;
        SetLines(Headers, C.Lines);
        EXPECT_EQ(Headers.GetFieldValue(C.Name), C.Value) << C.Name;
    }
}

TEST(HeaderFields, NeverRaiseOnAMalformedEncodedWord)
{
    ZevHeaders Headers;
    SetLines(Headers, {"Subject: =?utf-8?B?not*base64?= and more", "To: =?x?B?%%%%?= <a@b>"});
    EXPECT_EQ(Headers.GetFieldValue("Subject"), "=?utf-8?B?not*base64?= and more");
    TStringList List;
    Headers.GetFieldList("TO", &List);
    EXPECT_EQ(Items(List), (std::vector<std::string>{"=?x?B?%%%%?= <a@b>"}));
}

TEST(HeaderFields, KeepAMegabyteLineWhole)
{
    const std::string Long(1 << 20, 'x');
    ZevHeaders Headers;
    SetLines(Headers, {"Subject: " + Long, "Content-Type: text/plain; " + Long});
    EXPECT_EQ(Headers.GetFieldValue("Subject"), Long);
    EXPECT_EQ(Headers.GetFieldValue("Content-Type"), "text/plain; " + Long);
}

TEST(HeaderFields, StayLinearOnLongLinesAndManyContinuations)
{
    // Each of these is quadratic in a naive decoder or joiner and would not finish.
    std::string Starts;
    for (int I = 0; I < 200000; ++I)
        Starts += "=?x";
    std::string Unclosed;
    for (int I = 0; I < 100000; ++I)
        Unclosed += "=?x?Q?ab";
    ZevHeaders Headers;
    SetLines(Headers, {"Subject: " + Starts, "X-Other: " + Unclosed, "To: a@b,"});
    for (int I = 0; I < 100000; ++I)
        Headers.Add(" c" + std::to_string(I) + "@d,");
    Headers.Add("From: z@y");
    EXPECT_EQ(Headers.GetFieldValue("Subject"), Starts);
    EXPECT_EQ(Headers.GetFieldValue("X-Other"), Unclosed);
    TStringList List;
    Headers.GetFieldList("TO", &List);
    EXPECT_EQ(List.Count(), 100001);
    Headers.DeleteField("To");
    EXPECT_EQ(Headers.Count(), 3);
    EXPECT_EQ(Headers.GetFieldValue("From"), "z@y");
}

TEST(EncodedWords, DecodeAsRfc2047Says)
{
    struct Case {
        std::string Text;
        std::string Decoded;
    };
    const std::vector<Case> Cases = {
        {"=?iso-8859-1?Q?Hello_World?= Again", "Hello World Again"},
        {"=?utf-8?B?SGVsbG8=?=", "Hello"},
        {"=?UTF-8?b?SGVsbG8=?=", "Hello"},
        {"=?utf-8?q?a=5Fb?=", "a_b"},                 // an encoded underscore stays
        {"plain_text =?x?Q?c_d?=", "plain_text c d"}, // "_" is a space only inside Q words
        {"=?x?Q?a?= =?x?Q?b?=", "ab"},                // blanks between encoded words go
        {"=?x?Q?a?=\t  =?x?B?Yg==?=", "ab"},
        {"=?x?Q?a_?= =?x?Q?b?=", "a b"},
        {"Re: =?x?Q?a?= and =?x?Q?b?= end", "Re: a and b end"},
        {"=?x?Q?a?=b", "ab"},
        {"=?iso-8859-1?Q?=E9t=E9?=", "\xE9t\xE9"}, // Q text starting with "="
        {"=?utf-8*en?Q?lang?=", "lang"},
        {"=?x?Q?a=?=", "a="}, // an "=" without two hex digits is text
        {"=?x?Q?a=4?=", "a=4"},
        {"=?ISO-2022-JP?B?GyRCJEskWxsoQg==?=", "\x1B$B$K$[\x1B(B"}, // bytes as they are
        // Malformed words stay as written.
        {"=?x?B?QU*D?= rest", "=?x?B?QU*D?= rest"},
        {"Hi =?x?Q?abc", "Hi =?x?Q?abc"},
        {"=?x?Q?abc", "=?x?Q?abc"},
        {"=?x?X?abc?=", "=?x?X?abc?="},
        {"=??Q?abc?=", "=??Q?abc?="},
        {"=?x?Q?a b?=", "=?x?Q?a b?="},
        {"=?bad =?x?Q?ok?=", "=?bad ok"},
        {"=?x?B?QU*D?= =?x?Q?ok?=", "=?x?B?QU*D?= ok"},
        {"", ""},
        {"no words_here", "no words_here"},
    };
    for (const auto& C : Cases)
        EXPECT_EQ(DecodeHeaderWords(C.Text), C.Decoded) << C.Text;
}

TEST(EncodedWords, LineBreaksReadAsOneSpaceWhateverTheEncoding)
{
    struct Case {
        std::string Subject;
        std::string Value;
    };
    const std::vector<Case> Cases = {
        {"=?utf-8?Q?cheap=0Aviagra?=", "cheap viagra"},
        {"=?utf-8?B?Y2hlYXAKdmlhZ3Jh?=", "cheap viagra"}, // the same bytes, B-encoded
        {"=?utf-8?Q?cheap=0D=0Aviagra?= now", "cheap viagra now"},
        {"=?utf-8?Q?cheap=0Dviagra?=", "cheap viagra"},
        {"=?utf-8?Q?one=0D=0Atwo=3Dthree?=", "one two=three"},
        {"=?utf-8?Q?a=0D?= =?utf-8?Q?=0Ab?=", "a b"}, // CR LF split over two words
        {"=?utf-8?Q?a=0A=0Ab?=", "a  b"},
        {"=?utf-8?Q?a=0D=0D=0Ab?=", "a  b"},
        {"x =?utf-8?B?DQo=?= y", "x   y"},
    };
    for (const auto& C : Cases) {
        ZevHeaders Headers;
        SetLines(Headers, {"Subject: " + C.Subject});
        EXPECT_EQ(Headers.GetFieldValue("Subject"), C.Value) << C.Subject;
        EXPECT_EQ(DecodeHeaderWords(C.Subject), C.Value) << C.Subject;
    }
}

TEST(AddressFields, DecodeOnlyDisplayNamesAndCommentsOnceTheAddressesAreFound)
{
    struct Case {
        std::string Raw;
        std::string Value; // what GetFieldValue and GetFieldList give
        std::string Address;
        std::string Name;
    };
    const std::vector<Case> Cases = {
        {"=?utf-8?Q?=3Cboss=40work.test=3E?= <spam@evil.test>",
         "\"<boss@work.test>\" <spam@evil.test>", "spam@evil.test", "<boss@work.test>"},
        {"=?utf-8?B?PGJvc3NAd29yay50ZXN0Pg==?= <spam@evil.test>",
         "\"<boss@work.test>\" <spam@evil.test>", "spam@evil.test", "<boss@work.test>"},
        {"=?utf-8?Q?boss=40work.test_=28Boss=29?= <spam@evil.test>",
         "\"boss@work.test (Boss)\" <spam@evil.test>", "spam@evil.test", "boss@work.test (Boss)"},
        {"spam@evil.test (=?utf-8?Q?=29_<boss@work.test>?=)",
         "spam@evil.test (\\) <boss@work.test>)", "spam@evil.test", "\\) <boss@work.test>"},
        // Encoded words are not decoded in an address.
        {"=?utf-8?Q?boss=40work.test?=", "=?utf-8?Q?boss=40work.test?=",
         "=?utf-8?Q?boss=40work.test?=", ""},
        {"A <=?utf-8?Q?boss=40work.test?=>", "A <=?utf-8?Q?boss=40work.test?=>",
         "=?utf-8?Q?boss=40work.test?=", "A"},
        // Names without address characters come back bare.
        {"=?iso-8859-1?Q?J=F6rg?= <j@x>", "J\xF6rg <j@x>", "j@x", "J\xF6rg"},
        {"=?utf-8?Q?J=C3=B6rg?= Smith <j@x>", "J\xC3\xB6rg Smith <j@x>", "j@x",
         "J\xC3\xB6rg Smith"},
        {"\"=?utf-8?Q?J=C3=B6rg?=\" <j@x>", "J\xC3\xB6rg <j@x>", "j@x", "J\xC3\xB6rg"},
        {"j@x (=?iso-8859-1?Q?J=F6rg?=)", "j@x (J\xF6rg)", "j@x", "J\xF6rg"},
        {"=?utf-8?Q?a=0D=0Ab?= <j@x>", "a b <j@x>", "j@x", "a b"},
        // A quote in a decoded name is escaped; the name keeps the backslash, as names do.
        {"=?utf-8?Q?a=22b?= <x@y>", "\"a\\\"b\" <x@y>", "x@y", "a\\\"b"},
    };
    for (const std::string Field : {"From", "To", "Cc"}) {
        for (const auto& C : Cases) {
            ZevHeaders Headers;
            SetLines(Headers, {Field + ": " + C.Raw});
            const std::string Value = Headers.GetFieldValue(Field);
            EXPECT_EQ(Value, C.Value) << Field << ": " << C.Raw;
            EXPECT_EQ(FieldList({Field + ": " + C.Raw}, Field), std::vector<std::string>{C.Value})
                << Field << ": " << C.Raw;
            std::string Address;
            std::string Name;
            SplitMailAddress(Value, Address, Name);
            EXPECT_EQ(Address, C.Address) << Field << ": " << C.Raw;
            EXPECT_EQ(Name, C.Name) << Field << ": " << C.Raw;
        }
    }
}

TEST(AddressFields, KeepSeparatorsAndGroupsWhenNamesAreDecoded)
{
    ZevHeaders Headers;
    SetLines(Headers, {"To: =?utf-8?Q?=3Cboss=40work.test=3E=2C?= <spam@evil.test>, b@c",
                       "Cc: =?utf-8?Q?a=3Ab?=: x@y, =?x?Q?Z?= <z@y>;", "Subject: =?x?Q?a=3Cb?="});
    EXPECT_EQ(Headers.GetFieldValue("To"), "\"<boss@work.test>,\" <spam@evil.test>, b@c");
    EXPECT_EQ(Headers.GetFieldValue("Cc"), "\"a:b\": x@y, Z <z@y>;");
    EXPECT_EQ(Headers.GetFieldValue("Subject"), "a<b"); // not an address field
    TStringList List;
    Headers.GetFieldList("TO", &List);
    EXPECT_EQ(Items(List),
              (std::vector<std::string>{"\"<boss@work.test>,\" <spam@evil.test>", "b@c"}));
    Headers.GetFieldList("CC", &List);
    EXPECT_EQ(Items(List), (std::vector<std::string>{"x@y", "Z <z@y>"}));
}

TEST(FieldLists, SplitAddressesAtCommasOutsideQuotesCommentsAndBrackets)
{
    struct Case {
        std::vector<std::string> Lines;
        std::vector<std::string> Items;
    };
    const std::vector<Case> Cases = {
        {{"To: a@b.c, \"Doe, John\" <j@d.e>"}, {"a@b.c", "\"Doe, John\" <j@d.e>"}},
        {{"To:a@b.c"}, {"a@b.c"}},
        {{"TO: j@d.e (Doe, John), x@y"}, {"j@d.e (Doe, John)", "x@y"}},
        {{"To: <odd,name@d.e>"}, {"<odd,name@d.e>"}},
        {{"To: a@b.c,", " \"X: Y\" <x@y>,", "\tz@w"}, {"a@b.c", "\"X: Y\" <x@y>", "z@w"}},
        {{"To: a@b", "Cc: c@d", "to: e@f"}, {"a@b", "e@f"}},
        {{"To: Friends: a@b.c, d@e.f;, g@h.i"}, {"a@b.c", "d@e.f", "g@h.i"}},
        {{"To: undisclosed-recipients:;"}, {}},
        {{"To: a@b,, c@d,"}, {"a@b", "c@d"}},
        {{"To: =?x?Q?J=F6rg?= <j@x>"}, {"J\xF6rg <j@x>"}},
        {{"Tokens: x", "Toto: y"}, {}},
        {{"To: \"quoted \\\" comma, here\" <q@x>"}, {"\"quoted \\\" comma, here\" <q@x>"}},
        {{"To: a\xFF"
          "b@c, d@e"},
         {"a\xFF"
          "b@c",
          "d@e"}},
        {{}, {}},
    };
    for (const auto& C : Cases)
        EXPECT_EQ(FieldList(C.Lines, "TO"), C.Items)
            << (C.Lines.empty() ? std::string() : C.Lines[0]);
}

TEST(HeaderFields, DeleteFieldRemovesTheFirstFieldWithItsContinuations)
{
    ZevHeaders Headers;
    SetLines(Headers, {"Received: one", " more", "\tand more", "subject: x", "Received: two"});
    Headers.DeleteField("RECEIVED");
    EXPECT_EQ(Items(Headers), (std::vector<std::string>{"subject: x", "Received: two"}));
    Headers.DeleteField("Missing:");
    EXPECT_EQ(Headers.Count(), 2);
    Headers.DeleteField("Subject:");
    EXPECT_EQ(Items(Headers), (std::vector<std::string>{"Received: two"}));
}

TEST(HeaderFields, StripBodyDropsTheFirstEmptyLineAndAllAfterIt)
{
    ZevHeaders Headers;
    SetLines(Headers, {"From: a", "Subject: b", "", "body", "", "more"});
    Headers.StripBody();
    EXPECT_EQ(Items(Headers), (std::vector<std::string>{"From: a", "Subject: b"}));
    Headers.StripBody();
    EXPECT_EQ(Headers.Count(), 2);
}

TEST(MailAddresses, SplitIntoAddressAndDisplayName)
{
    struct Case {
        std::string Text;
        std::string Address;
        std::string Name;
    };
    const std::vector<Case> Cases = {
        {"John Doe <john@x.com>", "john@x.com", "John Doe"},
        {"  John Doe   <john@x.com>  ", "john@x.com", "John Doe"},
        {"\"Doe, John\" <j@x>", "j@x", "Doe, John"},
        {"<j@x>", "j@x", ""},
        {"\"a <b>\" <c@d>", "c@d", "a <b>"},
        {"j@x (John Doe)", "j@x", "John Doe"},
        {"j@x (John", "j@x", "John"},
        {"j@x", "j@x", ""},
        {"John <j@x", "", "John <j@x"},
        {"John >j@x<", "", "John >j@x<"},
        {"", "", ""},
    };
    for (const auto& C : Cases) {
        std::string Address = "old";
        std::string Name = "old";
        SplitMailAddress(C.Text, Address, Name);
        EXPECT_EQ(Address, C.Address) << C.Text;
        EXPECT_EQ(Name, C.Name) << C.Text;
    }
    ParseMailAddress("a@b", nullptr);
}

TEST(MailAddresses, FindTheAddressOnlyOutsideCommentsAndQuotedStrings)
{
    struct Case {
        std::string Text;
        std::string Address;
        std::string Name;
    };
    const std::vector<Case> Cases = {
        {"spam@evil.test (<boss@work.test>)", "spam@evil.test", "<boss@work.test>"},
        {"spam@evil.test (\"<boss@work.test>\")", "spam@evil.test", "<boss@work.test>"},
        {"spam@evil.test (a (b <boss@work.test>) c)", "spam@evil.test", "a (b <boss@work.test>) c"},
        {"spam@evil.test (\\) <boss@work.test>)", "spam@evil.test", "\\) <boss@work.test>"},
        {"(boss@work.test) spam@evil.test", "spam@evil.test", "boss@work.test"},
        {"\"x <boss@work.test>\" spam@evil.test", "spam@evil.test", "x <boss@work.test>"},
        {"\"boss@work.test\" spam@evil.test", "spam@evil.test", "boss@work.test"},
        {"\"a \\\" <boss@work.test>\" <spam@evil.test>", "spam@evil.test",
         "a \\\" <boss@work.test>"},
        // An unclosed quote or comment runs to the end: nothing inside it is an address.
        {"\"x <boss@work.test> spam@evil.test", "\"x <boss@work.test> spam@evil.test", ""},
        {"spam@evil.test (<boss@work.test>", "spam@evil.test", "<boss@work.test>"},
    };
    for (const auto& C : Cases) {
        ZevMailAddress Address;
        ParseMailAddress(C.Text, &Address);
        EXPECT_EQ(Address.Address, C.Address) << C.Text;
        EXPECT_EQ(Address.Name, C.Name) << C.Text;
    }
}

TEST(MailAddresses, ReadCommentNamesAnywhereAndQuotedLocalParts)
{
    struct Case {
        std::string Text;
        std::string Address;
        std::string Name;
    };
    const std::vector<Case> Cases = {
        {"(note) a@b", "a@b", "note"},
        {"(note)a@b", "a@b", "note"},
        {"a@b (c) (d)", "a@b", "c d"},
        {"(c) a@b (d)", "a@b", "c d"},
        {"  a@b  ", "a@b", ""},
        {"A <\"b c\"@d>", "\"b c\"@d", "A"},
        {"A <\"b>c\"@d>", "\"b>c\"@d", "A"},
        {"<\"j@x\">", "\"j@x\"", ""},
        {"\"b c\"@d", "\"b c\"@d", ""},
        {"\"b c\"@d (B)", "\"b c\"@d", "B"},
        {"A (c) <a@b>", "a@b", "A (c)"}, // names keep their comments
    };
    for (const auto& C : Cases) {
        ZevMailAddress Address;
        ParseMailAddress(C.Text, &Address);
        EXPECT_EQ(Address.Address, C.Address) << C.Text;
        EXPECT_EQ(Address.Name, C.Name) << C.Text;
    }
}

TEST(MailAddresses, EditRunsTheInstalledEditorOnACopy)
{
    ZevMailAddress Address;
    Address.Name = "Old";
    Address.Address = "old@x";
    ZevMailAddress::Editor = nullptr;
    EXPECT_FALSE(Address.Edit());

    ZevMailAddress::Editor = [](ZevMailAddress* Copy) {
        Copy->Name = "New";
        return false;
    };
    EXPECT_FALSE(Address.Edit());
    EXPECT_EQ(Address.Name, "Old");

    ZevMailAddress::Editor = [](ZevMailAddress* Copy) {
        Copy->Name = "New";
        return true;
    };
    EXPECT_TRUE(Address.Edit());
    EXPECT_EQ(Address.Name, "New");
    EXPECT_EQ(Address.Address, "old@x");
    ZevMailAddress::Editor = nullptr;

    Address.Clear();
    EXPECT_EQ(Address.Name + Address.Address, "");
}

TEST(MailAddresses, AddressListOwnsAndCopiesItsItems)
{
    ZevAddressList List;
    List.Add("A", "a@x");
    List.Add()->Address = "b@x";
    ASSERT_EQ(List.Count(), 2);
    EXPECT_EQ(List.Items(1)->Address, "b@x");
    EXPECT_THROW(List.Items(2), EListError);

    ZevAddressList Copy;
    Copy.Add("gone", "gone@x");
    Copy.Assign(&List);
    ASSERT_EQ(Copy.Count(), 2);
    EXPECT_NE(Copy.Items(0), List.Items(0));
    EXPECT_EQ(Copy.Items(0)->Name, "A");
    List.Clear();
    EXPECT_EQ(List.Count(), 0);
    EXPECT_EQ(Copy.Items(1)->Address, "b@x");

    ZevMailAddress Single;
    EXPECT_THROW(Single.Assign(&Copy), EConvertError);
}

TEST(MailDates, ReadTheRfc822FormAndTheSloppyOnes)
{
    struct Case {
        std::string Text;
        int Year, Month, Day, Hour, Minute, Second;
        std::string Zone;
    };
    const std::vector<Case> Cases = {
        {"Mon, 5 Dec 2005 10:11:12 +0100", 2005, 12, 5, 10, 11, 12, "+0100"},
        {"Tue, 05 Dec 2005 10:11:12 -0500 (EST)", 2005, 12, 5, 10, 11, 12, "-0500 (EST)"},
        {"5 Dec 05 10:11:12 +0100", 2005, 12, 5, 10, 11, 12, "+0100"},
        {"5 Dec 99 10:11 GMT", 1999, 12, 5, 10, 11, 0, "GMT"},
        {"5 Dec 50 0:00", 2050, 12, 5, 0, 0, 0, ""},
        {"5 Dec 51 0:00", 1951, 12, 5, 0, 0, 0, ""},
        {"5 Dec 105 10:11:12", 2005, 12, 5, 10, 11, 12, ""},
        {"mon, 5 dec 2005 23:59:59 est", 2005, 12, 5, 23, 59, 59, "EST"},
        {"Monday, 05-Dec-05 10:11:12 GMT", 2005, 12, 5, 10, 11, 12, "GMT"},
        {"5 December 2005 10:11:12", 2005, 12, 5, 10, 11, 12, ""},
        {"5 Dec 2005, 10:11:12", 2005, 12, 5, 10, 11, 12, ""},
        {"\"1 Jan 2000 01:02:03 +0000\"", 2000, 1, 1, 1, 2, 3, "+0000"},
        {"29 Feb 2004 12:00:00 +0000", 2004, 2, 29, 12, 0, 0, "+0000"},
        {"5 Dec 2005", 2005, 12, 5, 0, 0, 0, ""},
        {"5 Dec 2005 +0100", 2005, 12, 5, 0, 0, 0, "+0100"},
        {"5 Dec 2005 25:00 +0100", 2005, 12, 5, 0, 0, 0, "+0100"}, // bad time: midnight
        {"5 Dec 2005 10:1x:00 +0100", 2005, 12, 5, 0, 0, 0, "+0100"},
    };
    for (const auto& C : Cases) {
        TDateTime Value = 0;
        std::string Zone;
        ParseMailDate(C.Text, Value, Zone);
        const TDateTime Expected =
            EncodeDate(C.Year, C.Month, C.Day) + EncodeTime(C.Hour, C.Minute, C.Second, 0);
        EXPECT_DOUBLE_EQ(Value, Expected) << C.Text;
        EXPECT_EQ(Zone, C.Zone) << C.Text;
    }
}

TEST(MailDates, KeepTheTimeOfDayBeforeDecember1899)
{
    struct Case {
        std::string Text;
        int Year, Month, Day, Hour, Minute, Second;
    };
    const std::vector<Case> Cases = {
        {"7 Jul 1752 03:04:05", 1752, 7, 7, 3, 4, 5},
        {"Fri, 29 Dec 1899 06:00:00 +0000", 1899, 12, 29, 6, 0, 0},
        {"30 Dec 1899 06:00", 1899, 12, 30, 6, 0, 0},
        {"28 Dec 1899 23:59:59", 1899, 12, 28, 23, 59, 59},
        {"1 Jan 0001 23:59:59", 1, 1, 1, 23, 59, 59},
        {"1 Jan 1800 25:00", 1800, 1, 1, 0, 0, 0}, // a bad time is still midnight
    };
    for (const auto& C : Cases) {
        TDateTime Value = 0;
        std::string Zone;
        ParseMailDate(C.Text, Value, Zone);
        Word Year = 0, Month = 0, Day = 0, Hour = 0, Minute = 0, Second = 0, MSec = 0;
        DecodeDate(Value, Year, Month, Day);
        DecodeTime(Value, Hour, Minute, Second, MSec);
        EXPECT_EQ((std::vector<int>{Year, Month, Day, Hour, Minute, Second}),
                  (std::vector<int>{C.Year, C.Month, C.Day, C.Hour, C.Minute, C.Second}))
            << C.Text;
    }
    TDateTime Value = 0;
    std::string Zone;
    ParseMailDate("29 Dec 1899 06:00", Value, Zone);
    EXPECT_EQ(Value, -1.25);
}

TEST(MailDates, GiveZeroForWhatIsNotADate)
{
    for (const std::string Text :
         {"", "garbage", "Dec 5 2005 10:11:12", "31 Feb 2005 10:00", "0 Dec 2005", "5 Dec",
          "5 Foo 2005", "5 Dec 20050 10:00", "123 Dec 2005", "5", "\"\"", "5 Dec ,"}) {
        TDateTime Value = 42;
        std::string Zone = "old";
        ParseMailDate(Text, Value, Zone);
        EXPECT_EQ(Value, 0) << Text;
        EXPECT_EQ(Zone, "") << Text;
    }
}

TEST(MailDates, ReadTheTimeWithAColonWhateverTheLocale)
{
    const TFormatSettings Saved = FormatSettings;
    FormatSettings = TestSupport::DottedSettings();
    TDateTime Value = 0;
    std::string Zone;
    ParseMailDate("Mon, 5 Dec 2005 10:11:12 +0100", Value, Zone);
    FormatSettings = Saved;
    EXPECT_DOUBLE_EQ(Value, EncodeDate(2005, 12, 5) + EncodeTime(10, 11, 12, 0));
}
