#include "payload/payload_fields.h"
#include "payload/payload_kinds.h"

#include <gtest/gtest.h>

#include <string>

TEST(PayloadFields, LinesSplitAtLfAndValuesKeepEveryByteAfterTheFirstEquals)
{
    payload_fields fields;
    ASSERT_EQ(split_payload_fields("a=1\n\nb==x=\r\nc=\n", &fields), 0);
    ASSERT_EQ(fields.items.size(), 3u);
    EXPECT_EQ(fields.value("b"), "=x=\r");
    EXPECT_EQ(fields.value("c"), "");
    EXPECT_FALSE(fields.has("c"));
    EXPECT_TRUE(fields.has("a"));
    EXPECT_EQ(split_payload_fields("a=1\nnothing", &fields), 1105);
    ASSERT_EQ(split_payload_fields("d=4", &fields), 0);
    EXPECT_EQ(fields.items.size(), 1u);
}

TEST(PayloadKinds, NamesAreFoundInAnyCaseAndNumberedFromOne)
{
    EXPECT_EQ(payload_kind_named("VeriFactu"), payload_verifactu);
    EXPECT_EQ(payload_kind_named("TicketBAI"), payload_ticketbai);
    EXPECT_EQ(payload_kind_named("wifi"), payload_wifi);
    EXPECT_EQ(payload_kind_named("wif"), payload_none);
    EXPECT_EQ(payload_kind_numbered(payload_wifi)->name, std::string("wifi"));
    EXPECT_EQ(payload_kind_numbered(0), nullptr);
    EXPECT_EQ(payload_kind_numbered(7), nullptr);
}
