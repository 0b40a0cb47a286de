// tests/mail/agwhois_test.cpp: the whois component's settings.
#include "mail/agwhois.h"

#include <gtest/gtest.h>

TEST(WhoIs, DefaultsOfTheComponent)
{
    TagWhoIs WhoIs(nullptr);
    EXPECT_EQ(WhoIs.DefaultPort(), 43);
    EXPECT_EQ(WhoIs.ServiceName(), "whois");
    EXPECT_EQ(WhoIs.Server(), ""); // the host is a deployment value set on the form
    EXPECT_EQ(WhoIs.Query(), "");
    EXPECT_FALSE(WhoIs.GetConnected());
    WhoIs.SetQuery("example.org");
    EXPECT_EQ(WhoIs.Query(), "example.org");
}

TEST(WhoIs, EmptyServerIsRefused)
{
    TagWhoIs WhoIs(nullptr);
    EXPECT_THROW(WhoIs.Connect(), ESocketError);
    EXPECT_FALSE(WhoIs.GetConnected());
}
