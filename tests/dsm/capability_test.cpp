// DAT_CAPABILITY of an open source over test:0 (modes Gray and Color).
#include <cstring>

#include "containers.h"
#include "dsm_fixture.h"

namespace morvex::testing {
namespace {

struct Items {
  TW_UINT16 conType = 0;
  TW_UINT16 itemType = 0;
  std::vector<TW_UINT16> values;
  TW_UINT32 current = 0;
};

// Reads and frees the container a source returned.
Items TakeContainer(TW_CAPABILITY& capability) {
  Items items;
  items.conType = capability.ConType;
  const auto* bytes = static_cast<const std::uint8_t*>(GlobalLock(capability.hContainer));
  if (bytes == nullptr) return items;
  std::memcpy(&items.itemType, bytes, 2);
  if (capability.ConType == TWON_ONEVALUE) {
    TW_UINT32 value = 0;
    std::memcpy(&value, bytes + 2, 4);
    items.values.push_back(static_cast<TW_UINT16>(value));
  } else if (capability.ConType == TWON_ENUMERATION) {
    TW_UINT32 count = 0;
    std::memcpy(&count, bytes + 2, 4);
    std::memcpy(&items.current, bytes + 6, 4);
    for (TW_UINT32 i = 0; i < count; ++i) {
      TW_UINT16 value = 0;
      std::memcpy(&value, bytes + TW_ENUMERATION_ITEMLIST_OFFSET + 2 * i, 2);
      items.values.push_back(value);
    }
  }
  GlobalUnlock(capability.hContainer);
  GlobalFree(capability.hContainer);
  capability.hContainer = nullptr;
  return items;
}

class CapabilityTest : public DsmTest {
 protected:
  void SetUp() override {
    OpenManager();
    OpenSource("test:0");
  }
  // MSG_GET or MSG_GETCURRENT: the container's items.
  Items Get(TW_UINT16 cap, TW_UINT16 msg) {
    TW_CAPABILITY capability{cap, TWON_DONTCARE16, nullptr};
    EXPECT_EQ(Source(DG_CONTROL, DAT_CAPABILITY, msg, &capability), TWRC_SUCCESS);
    return TakeContainer(capability);
  }
  TW_UINT16 Set(TW_UINT16 cap, TW_UINT16 conType, HGLOBAL container) {
    TW_CAPABILITY capability{cap, conType, container};
    const TW_UINT16 rc = Source(DG_CONTROL, DAT_CAPABILITY, MSG_SET, &capability);
    GlobalFree(container);
    return rc;
  }
};

TEST_F(CapabilityTest, PixelTypesComeFromTheModes) {
  const Items all = Get(ICAP_PIXELTYPE, MSG_GET);
  EXPECT_EQ(all.conType, TWON_ENUMERATION);
  EXPECT_EQ(all.itemType, TWTY_UINT16);
  EXPECT_EQ(all.values, (std::vector<TW_UINT16>{TWPT_GRAY, TWPT_RGB}));
  EXPECT_EQ(all.current, 0u);
  const Items current = Get(ICAP_PIXELTYPE, MSG_GETCURRENT);
  EXPECT_EQ(current.conType, TWON_ONEVALUE);
  EXPECT_EQ(current.values, std::vector<TW_UINT16>{TWPT_GRAY});
  EXPECT_EQ(GlobalLiveBlocks(), blocksBefore);
}

TEST_F(CapabilityTest, OneValueSetsTheMode) {
  ASSERT_EQ(Set(ICAP_PIXELTYPE, TWON_ONEVALUE, dsm::MakeOneValue(TWTY_UINT16, TWPT_RGB)), TWRC_SUCCESS);
  EXPECT_EQ(Get(ICAP_PIXELTYPE, MSG_GETCURRENT).values, std::vector<TW_UINT16>{TWPT_RGB});
  EXPECT_EQ(Get(ICAP_BITDEPTH, MSG_GETCURRENT).values, std::vector<TW_UINT16>{24});
}

TEST_F(CapabilityTest, TypeTheDeviceLacksIsABadValue) {
  EXPECT_EQ(Set(ICAP_PIXELTYPE, TWON_ONEVALUE, dsm::MakeOneValue(TWTY_UINT16, TWPT_PALETTE)), TWRC_FAILURE);
  EXPECT_EQ(SourceCondition(), TWCC_BADVALUE);
  EXPECT_EQ(Get(ICAP_PIXELTYPE, MSG_GETCURRENT).values, std::vector<TW_UINT16>{TWPT_GRAY});
}

// The scanner layer's restriction: an enumeration with CurrentIndex unset.
TEST_F(CapabilityTest, EnumerationLimitsTheTypesOffered) {
  ASSERT_EQ(Set(ICAP_PIXELTYPE, TWON_ENUMERATION, dsm::MakeEnumeration(TWTY_UINT16, {TWPT_RGB}, 0xFFFFFFFF, 0xFFFFFFFF)),
            TWRC_SUCCESS);
  EXPECT_EQ(Get(ICAP_PIXELTYPE, MSG_GET).values, std::vector<TW_UINT16>{TWPT_RGB});
  EXPECT_EQ(Get(ICAP_PIXELTYPE, MSG_GETCURRENT).values, std::vector<TW_UINT16>{TWPT_RGB});
}

// The source's dialog offers the modes of the pixel types the program allows.
TEST_F(CapabilityTest, TheDialogOffersOnlyTheModesOfTheAllowedTypes) {
  ASSERT_EQ(Set(ICAP_PIXELTYPE, TWON_ENUMERATION,
                dsm::MakeEnumeration(TWTY_UINT16, {TWPT_GRAY, TWPT_RGB}, 0xFFFFFFFF, 0xFFFFFFFF)),
            TWRC_SUCCESS);
  Enable(true);
  ASSERT_TRUE(frontend.dialog.modeAllowed);
  EXPECT_TRUE(frontend.dialog.modeAllowed("Gray"));
  EXPECT_TRUE(frontend.dialog.modeAllowed("Color"));
  EXPECT_FALSE(frontend.dialog.modeAllowed("Lineart"));
  EXPECT_FALSE(frontend.dialog.modeAllowed("Infrared")) << "a mode of no known pixel type";
}

TEST_F(CapabilityTest, UntilLimitedTheDialogOffersEveryMode) {
  Enable(true);
  ASSERT_TRUE(frontend.dialog.modeAllowed);
  for (const char* mode : {"Gray", "Color", "Lineart", "Infrared"}) EXPECT_TRUE(frontend.dialog.modeAllowed(mode)) << mode;
}

TEST_F(CapabilityTest, NothingInCommonIsABadValueAndChangesNothing) {
  EXPECT_EQ(Set(ICAP_PIXELTYPE, TWON_ENUMERATION, dsm::MakeEnumeration(TWTY_INT16, {TWPT_BW, TWPT_CMYK}, 0, 0)),
            TWRC_FAILURE);
  EXPECT_EQ(SourceCondition(), TWCC_BADVALUE);
  EXPECT_EQ(Get(ICAP_PIXELTYPE, MSG_GET).values, (std::vector<TW_UINT16>{TWPT_GRAY, TWPT_RGB}));
}

TEST_F(CapabilityTest, ContainerAnnouncingMoreItemsThanItHoldsIsRefused) {
  HGLOBAL container = dsm::MakeEnumeration(TWTY_UINT16, {TWPT_RGB}, 0, 0);
  auto* bytes = static_cast<std::uint8_t*>(GlobalLock(container));
  const TW_UINT32 count = 1000000;
  std::memcpy(bytes + 2, &count, 4);
  GlobalUnlock(container);
  EXPECT_EQ(Set(ICAP_PIXELTYPE, TWON_ENUMERATION, container), TWRC_FAILURE);
  EXPECT_EQ(SourceCondition(), TWCC_BADVALUE);
}

TEST_F(CapabilityTest, RangeAndOtherItemTypesAreRefused) {
  HGLOBAL range = GlobalAlloc(GHND, sizeof(TW_RANGE));
  EXPECT_EQ(Set(ICAP_PIXELTYPE, TWON_RANGE, range), TWRC_FAILURE);
  EXPECT_EQ(Set(ICAP_PIXELTYPE, TWON_ONEVALUE, dsm::MakeOneValue(TWTY_UINT32, TWPT_RGB)), TWRC_FAILURE);
  EXPECT_EQ(Set(ICAP_PIXELTYPE, TWON_ONEVALUE, nullptr), TWRC_FAILURE);
  EXPECT_EQ(SourceCondition(), TWCC_BADVALUE);
}

TEST_F(CapabilityTest, UnitsBitDepthAndTransferCount) {
  EXPECT_EQ(Get(ICAP_UNITS, MSG_GETCURRENT).values, std::vector<TW_UINT16>{dsm::TWUN_INCHES});
  EXPECT_EQ(Get(ICAP_BITDEPTH, MSG_GETCURRENT).values, std::vector<TW_UINT16>{8});
  const Items count = Get(CAP_XFERCOUNT, MSG_GETCURRENT);
  EXPECT_EQ(count.itemType, TWTY_INT16);
  EXPECT_EQ(count.values, std::vector<TW_UINT16>{1});
  EXPECT_EQ(Set(CAP_XFERCOUNT, TWON_ONEVALUE, dsm::MakeOneValue(TWTY_INT16, 0xFFFF)), TWRC_SUCCESS);
  EXPECT_EQ(Set(CAP_XFERCOUNT, TWON_ONEVALUE, dsm::MakeOneValue(TWTY_INT16, 5)), TWRC_FAILURE);
  EXPECT_EQ(Set(ICAP_UNITS, TWON_ONEVALUE, dsm::MakeOneValue(TWTY_UINT16, dsm::TWUN_INCHES)), TWRC_SUCCESS);
  EXPECT_EQ(Set(ICAP_UNITS, TWON_ONEVALUE, dsm::MakeOneValue(TWTY_UINT16, dsm::TWUN_PIXELS)), TWRC_FAILURE);
  EXPECT_EQ(Set(ICAP_BITDEPTH, TWON_ONEVALUE, dsm::MakeOneValue(TWTY_UINT16, 8)), TWRC_SUCCESS);
  EXPECT_EQ(Set(ICAP_BITDEPTH, TWON_ONEVALUE, dsm::MakeOneValue(TWTY_UINT16, 16)), TWRC_FAILURE);
  EXPECT_EQ(GlobalLiveBlocks(), blocksBefore);
}

TEST_F(CapabilityTest, OtherCapabilitiesAreBadCapabilities) {
  TW_CAPABILITY capability{ICAP_XFERMECH, TWON_DONTCARE16, nullptr};
  EXPECT_EQ(Source(DG_CONTROL, DAT_CAPABILITY, MSG_GET, &capability), TWRC_FAILURE);
  EXPECT_EQ(SourceCondition(), TWCC_BADCAP);
  EXPECT_EQ(HGLOBAL{capability.hContainer}, nullptr);  // a copy: the record is packed
}

}  // namespace
}  // namespace morvex::testing
