// Restricting the pixel types, setting one value and reading the current
// value of a capability.
#include <cstring>
#include <ostream>
#include <optional>

#include "twain_fixture.h"

namespace morvex::testing {
namespace {

using namespace morvex::twain;
using Bytes = std::vector<std::uint8_t>;

void Put16(Bytes& b, std::uint16_t v) {
  b.push_back(static_cast<std::uint8_t>(v));
  b.push_back(static_cast<std::uint8_t>(v >> 8));
}
void Put32(Bytes& b, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) b.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

Bytes OneValue(std::uint16_t type, std::uint32_t item) {
  Bytes b;
  Put16(b, type);
  Put32(b, item);
  return b;
}

Bytes List(std::uint16_t type, const std::vector<std::uint16_t>& items, std::optional<std::uint32_t> current) {
  Bytes b;
  Put16(b, type);
  Put32(b, static_cast<std::uint32_t>(items.size()));
  if (current) {  // an enumeration
    Put32(b, *current);
    Put32(b, 0);
  }
  for (std::uint16_t item : items) Put16(b, item);
  return b;
}

Bytes Enumeration(std::uint16_t type, const std::vector<std::uint16_t>& items, std::uint32_t current = 0) {
  return List(type, items, current);
}
Bytes Array(std::uint16_t type, const std::vector<std::uint16_t>& items) { return List(type, items, std::nullopt); }

class Capabilities : public TwainTest {
 protected:
  void OpenSource() {
    ASSERT_TRUE(TWAIN_ManagerOpen(window));
    ASSERT_TRUE(TWAIN_SourceOpenDefault());
    dsm.calls.clear();
  }
};

TEST_F(Capabilities, MaskZeroSucceedsAtState4WithoutTriplets) {
  OpenSource();
  EXPECT_TRUE(TWAIN_RestrictPixelTypes(0));
  EXPECT_TRUE(dsm.calls.empty());
}

TEST_F(Capabilities, OutsideState4TheRestrictionFailsEvenWithMaskZero) {
  ASSERT_TRUE(TWAIN_ManagerOpen(window));
  TWAIN_ClearError();
  EXPECT_FALSE(TWAIN_RestrictPixelTypes(0));
  EXPECT_EQ(TWAIN_LastErrorCode(), 7);
}

struct RestrictCase {
  std::string name;
  TW_UINT16 conType;
  Bytes container;
  std::uint32_t mask;
  bool result;
  int errorCode;
  std::optional<Bytes> sentBack;  // the container of MSG_SET, when one is sent
};
// Cases print as their names in test output.
void PrintTo(const RestrictCase& c, std::ostream* os) { *os << c.name; }

class Restriction : public Capabilities, public ::testing::WithParamInterface<RestrictCase> {};

TEST_P(Restriction, AnswersAndSendsBack) {
  const RestrictCase& c = GetParam();
  OpenSource();
  dsm.script.capConType = c.conType;
  dsm.script.capContainer = c.container;
  TWAIN_ClearError();
  EXPECT_EQ(TWAIN_RestrictPixelTypes(c.mask), c.result);
  EXPECT_EQ(TWAIN_LastErrorCode(), c.errorCode);
  ASSERT_GE(dsm.calls.size(), 1u);
  EXPECT_EQ(TripletName(dsm.calls[0]), "source DAT_CAPABILITY MSG_GET");
  EXPECT_EQ(dsm.calls[0].cap, ICAP_PIXELTYPE);
  EXPECT_EQ(dsm.calls[0].conType, TWON_ENUMERATION);
  if (c.sentBack) {
    ASSERT_EQ(dsm.calls.size(), 2u);
    EXPECT_EQ(TripletName(dsm.calls[1]), "source DAT_CAPABILITY MSG_SET");
    EXPECT_EQ(dsm.calls[1].conType, c.conType);
    EXPECT_EQ(dsm.calls[1].container, *c.sentBack);
  } else {
    EXPECT_EQ(dsm.calls.size(), 1u);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Containers, Restriction,
    ::testing::Values(
        RestrictCase{"EnumerationBwGrayRgbUnderGrayAndRgb", TWON_ENUMERATION,
                     Enumeration(TWTY_UINT16, {TWPT_BW, TWPT_GRAY, TWPT_RGB}, 2), 0x6, true, 0,
                     [] {
                       Bytes b = List(TWTY_UINT16, {TWPT_GRAY, TWPT_RGB}, 0xFFFFFFFFu);
                       std::memset(b.data() + 10, 0xFF, 4);
                       Put16(b, TWPT_RGB);  // the third slot keeps the source's value
                       return b;
                     }()},
        RestrictCase{"ArrayLosesOrderAndDuplicates", TWON_ARRAY, Array(TWTY_INT16, {2, 0, 1, 2}), 0x5, true, 0,
                     [] {
                       Bytes b = Array(TWTY_INT16, {0, 2});
                       Put16(b, 1);
                       Put16(b, 2);
                       return b;
                     }()},
        RestrictCase{"OneValueInsideTheMask", TWON_ONEVALUE, OneValue(TWTY_UINT16, TWPT_RGB), 0x4, true, 0,
                     std::nullopt},
        RestrictCase{"OneValueOfAnyItemType", TWON_ONEVALUE, OneValue(TWTY_UINT32, TWPT_GRAY), 0x2, true, 0,
                     std::nullopt},
        RestrictCase{"OneValueOutsideTheMask", TWON_ONEVALUE, OneValue(TWTY_UINT16, TWPT_BW), 0x4, false, 13,
                     std::nullopt},
        RestrictCase{"NothingInCommon", TWON_ENUMERATION, Enumeration(TWTY_UINT16, {TWPT_BW}), 0x4, false, 13,
                     std::nullopt},
        RestrictCase{"Range", TWON_RANGE, Bytes(22, 0), 0x4, false, 10, std::nullopt},
        RestrictCase{"Uint32Items", TWON_ENUMERATION, Enumeration(TWTY_UINT32, {TWPT_RGB}), 0x4, false, 11,
                     std::nullopt},
        RestrictCase{"EmptyList", TWON_ARRAY, Array(TWTY_UINT16, {}), 0x4, false, 12, std::nullopt},
        RestrictCase{"TypesAbove31AreNeverAdmitted", TWON_ARRAY, Array(TWTY_UINT16, {32, 33}), 0xFFFFFFFFu, false,
                     13, std::nullopt},
        RestrictCase{"ListLongerThanItsBlock", TWON_ARRAY,
                     [] {
                       Bytes b = Array(TWTY_UINT16, {1});
                       b[2] = 200;  // claims 200 items
                       return b;
                     }(),
                     0x2, false, 9, std::nullopt}),
    [](const ::testing::TestParamInfo<RestrictCase>& info) { return info.param.name; });

TEST_F(Capabilities, NoContainerFailsTheRestriction) {
  OpenSource();
  dsm.script.capNoContainer = true;
  TWAIN_ClearError();
  EXPECT_FALSE(TWAIN_RestrictPixelTypes(0x4));
  EXPECT_EQ(TWAIN_LastErrorCode(), 8);
}

TEST_F(Capabilities, RefusedSetFailsTheRestriction) {
  OpenSource();
  dsm.script.capConType = TWON_ENUMERATION;
  dsm.script.capContainer = Enumeration(TWTY_UINT16, {TWPT_GRAY});
  dsm.Force(DG_CONTROL, DAT_CAPABILITY, MSG_SET, TWRC_FAILURE);
  TWAIN_ClearError();
  EXPECT_FALSE(TWAIN_RestrictPixelTypes(0x2));
  EXPECT_EQ(TWAIN_LastErrorCode(), 3);
}

TEST_F(Capabilities, AcquisitionWithAMaskNegotiatesBeforeEnabling) {
  dsm.script.capConType = TWON_ENUMERATION;
  dsm.script.capContainer = Enumeration(TWTY_UINT16, {TWPT_GRAY, TWPT_RGB});
  dsm.script.actions = {UserAction::CloseDialog};
  TWAIN_AcquireDib(window, 0x2);
  std::vector<std::string> names = TripletNames(dsm.calls);
  names.resize(5);
  EXPECT_EQ(names, (std::vector<std::string>{"manager MSG_OPENDSM", "manager MSG_OPENDS",
                                             "source DAT_CAPABILITY MSG_GET", "source DAT_CAPABILITY MSG_SET",
                                             "source MSG_ENABLEDS"}));
}

TEST_F(Capabilities, SetSingleSendsASixByteOneValue) {
  OpenSource();
  EXPECT_TRUE(TWAIN_CapSetSingle(ICAP_UNITS, TWTY_UINT16, 3));
  ASSERT_EQ(dsm.calls.size(), 1u);
  EXPECT_EQ(TripletName(dsm.calls[0]), "source DAT_CAPABILITY MSG_SET");
  EXPECT_EQ(dsm.calls[0].cap, ICAP_UNITS);
  EXPECT_EQ(dsm.calls[0].conType, TWON_ONEVALUE);
  EXPECT_EQ(dsm.calls[0].container, OneValue(TWTY_UINT16, 3));
}

TEST_F(Capabilities, RefusedSetSingleReturnsFalseSilently) {
  OpenSource();
  dsm.Force(DG_CONTROL, DAT_CAPABILITY, MSG_SET, TWRC_FAILURE);
  EXPECT_FALSE(TWAIN_CapSetSingle(ICAP_UNITS, TWTY_UINT16, 3));
  EXPECT_TRUE(platform.boxes.empty());
}

TEST_F(Capabilities, SetSingleOutsideState4ShowsItsMessage) {
  ASSERT_TRUE(TWAIN_ManagerOpen(window));
  EXPECT_FALSE(TWAIN_CapSetSingle(ICAP_UNITS, TWTY_UINT16, 3));
  EXPECT_EQ(BoxTexts(platform), std::vector<std::string>{"Attempt to set capability outside State 4."});
}

TEST_F(Capabilities, TypedSettersCutTheirValues) {
  OpenSource();
  TWAIN_SetPixelType(0x10002);
  TWAIN_SetXferCount(-1);
  ASSERT_EQ(dsm.calls.size(), 2u);
  EXPECT_EQ(dsm.calls[0].cap, ICAP_PIXELTYPE);
  EXPECT_EQ(dsm.calls[0].container, OneValue(TWTY_UINT16, 2));
  EXPECT_EQ(dsm.calls[1].cap, CAP_XFERCOUNT);
  EXPECT_EQ(dsm.calls[1].container, OneValue(TWTY_INT16, 0xFFFFFFFFu));
}

struct CurrentValueCase {
  std::string name;
  TW_UINT16 conType;
  Bytes container;
  TW_UINT16 asked;
  bool result;
  std::uint32_t value;
};
// Cases print as their names in test output.
void PrintTo(const CurrentValueCase& c, std::ostream* os) { *os << c.name; }

class CurrentValue : public Capabilities, public ::testing::WithParamInterface<CurrentValueCase> {};

TEST_P(CurrentValue, ReadsWhatMatches) {
  const CurrentValueCase& c = GetParam();
  OpenSource();
  dsm.script.capConType = c.conType;
  dsm.script.capContainer = c.container;
  std::uint32_t value = 0xAAAAAAAAu;
  EXPECT_EQ(TWAIN_CapGetCurrentValue(ICAP_BITDEPTH, c.asked, &value), c.result);
  if (c.result) {
    EXPECT_EQ(value & ((1ull << (8 * TWAIN_ItemSize(c.asked))) - 1), c.value);
  } else {
    EXPECT_EQ(value, 0xAAAAAAAAu) << "nothing written";
  }
  ASSERT_EQ(dsm.calls.size(), 1u);
  EXPECT_EQ(TripletName(dsm.calls[0]), "source DAT_CAPABILITY MSG_GETCURRENT");
  EXPECT_EQ(dsm.calls[0].conType, TWON_ONEVALUE);
  EXPECT_TRUE(platform.boxes.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Containers, CurrentValue,
    ::testing::Values(
        CurrentValueCase{"OneValueSameType", TWON_ONEVALUE, OneValue(TWTY_UINT16, 8), TWTY_UINT16, true, 8},
        CurrentValueCase{"OneValueInt16ForUint16", TWON_ONEVALUE, OneValue(TWTY_INT16, 24), TWTY_UINT16, true, 24},
        CurrentValueCase{"OneValueBoolForUint16", TWON_ONEVALUE, OneValue(TWTY_BOOL, 1), TWTY_UINT16, false, 0},
        CurrentValueCase{"OneValueUint32ForUint16", TWON_ONEVALUE, OneValue(TWTY_UINT32, 1), TWTY_UINT16, false, 0},
        CurrentValueCase{"EnumerationAtCurrentIndex", TWON_ENUMERATION, Enumeration(TWTY_UINT16, {1, 8, 24}, 2),
                         TWTY_UINT16, true, 24},
        CurrentValueCase{"EnumerationIndexPastTheEnd", TWON_ENUMERATION, Enumeration(TWTY_UINT16, {1, 8}, 2),
                         TWTY_UINT16, false, 0},
        CurrentValueCase{"ArrayIsNoCurrentValue", TWON_ARRAY, Array(TWTY_UINT16, {8}), TWTY_UINT16, false, 0},
        CurrentValueCase{"StringLongerThanTheBlock", TWON_ONEVALUE, OneValue(TWTY_STR32, 0), TWTY_STR32, false, 0}),
    [](const ::testing::TestParamInfo<CurrentValueCase>& info) { return info.param.name; });

TEST_F(Capabilities, CurrentValueBelowState4ShowsItsMessage) {
  ASSERT_TRUE(TWAIN_ManagerOpen(window));
  std::uint32_t value = 0;
  EXPECT_FALSE(TWAIN_CapGetCurrentValue(ICAP_UNITS, TWTY_UINT16, &value));
  EXPECT_EQ(BoxTexts(platform), std::vector<std::string>{"Attempt to get capability value below State 4."});
}

TEST_F(Capabilities, CurrentValueWithoutDestinationShowsTheAssertionAndWritesNothing) {
  OpenSource();
  dsm.script.capContainer = OneValue(TWTY_UINT16, 8);
  EXPECT_FALSE(TWAIN_CapGetCurrentValue(ICAP_UNITS, TWTY_UINT16, nullptr));
  EXPECT_EQ(BoxTexts(platform), std::vector<std::string>{"Assertion failed"});
}

TEST_F(Capabilities, TypedGettersReturnZeroWhenTheReadFails) {
  OpenSource();
  dsm.script.capContainer = OneValue(TWTY_UINT16, 2);
  EXPECT_EQ(TWAIN_GetPixelType(), 2u);
  EXPECT_EQ(dsm.calls.back().cap, ICAP_PIXELTYPE);
  dsm.Force(DG_CONTROL, DAT_CAPABILITY, MSG_GETCURRENT, TWRC_FAILURE);
  EXPECT_EQ(TWAIN_GetUnits(), 0u);
  EXPECT_EQ(TWAIN_GetBitDepth(), 0u);
}

TEST(ItemTypes, SizesAndMatches) {
  const int sizes[] = {1, 2, 4, 1, 2, 4, 2, 4, 16, 34, 66, 130, 256};
  for (TW_UINT16 type = 0; type < 13; ++type) EXPECT_EQ(TWAIN_ItemSize(type), sizes[type]) << type;
  EXPECT_TRUE(TWAIN_ItemTypesMatch(TWTY_INT16, TWTY_UINT16));
  EXPECT_TRUE(TWAIN_ItemTypesMatch(TWTY_INT8, TWTY_UINT8));
  EXPECT_FALSE(TWAIN_ItemTypesMatch(TWTY_BOOL, TWTY_UINT16));
  EXPECT_FALSE(TWAIN_ItemTypesMatch(TWTY_INT32, TWTY_FIX32));
  EXPECT_FALSE(TWAIN_ItemTypesMatch(TWTY_INT16, TWTY_INT32));
}

}  // namespace
}  // namespace morvex::testing
