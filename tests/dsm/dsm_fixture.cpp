#include "dsm_fixture.h"

#include <cstdlib>
#include <cstring>

#include "morvex/sane/default_device.h"
#include "morvex/sane/session.h"

namespace morvex::testing {

namespace {

class ScriptedDialog final : public dsm::Running {
 public:
  explicit ScriptedDialog(ScriptedFrontend::Dialog& dialog) : dialog_(dialog) {}
  ~ScriptedDialog() override { dialog_.open = false; }

 private:
  ScriptedFrontend::Dialog& dialog_;
};

}  // namespace

MessageQueue::MessageQueue() { MorvexSetMessagePoster(&MessageQueue::Post, this); }
MessageQueue::~MessageQueue() { MorvexSetMessagePoster(nullptr, nullptr); }

int MessageQueue::Post(const MorvexMessage* message, void* context) {
  auto* queue = static_cast<MessageQueue*>(context);
  {
    std::lock_guard lock(queue->mutex_);
    queue->messages_.push_back(*message);
  }
  queue->arrived_.notify_all();
  return 1;
}

std::optional<MorvexMessage> MessageQueue::Next(std::chrono::milliseconds timeout) {
  std::unique_lock lock(mutex_);
  if (!arrived_.wait_for(lock, timeout, [&] { return !messages_.empty(); })) return std::nullopt;
  MorvexMessage message = messages_.front();
  messages_.pop_front();
  return message;
}

std::size_t MessageQueue::size() {
  std::lock_guard lock(mutex_);
  return messages_.size();
}

std::optional<std::string> ScriptedFrontend::ChooseScanner(HWND, const std::string& remembered) {
  rememberedShown.push_back(remembered);
  return choice;
}

std::unique_ptr<dsm::Running> ScriptedFrontend::ShowSource(sane::Device&, const std::string& scannerName, HWND parent,
                                                           dsm::ModeFilter modeAllowed, dsm::ImageHandler image,
                                                           dsm::CloseHandler close) {
  dialog = Dialog{scannerName, parent, std::move(modeAllowed), std::move(image), std::move(close), true};
  return std::make_unique<ScriptedDialog>(dialog);
}

void ScriptedFrontend::ApplySettings(sane::Device& device) {
  if (!settings.empty()) Apply(device, settings);
}

void KeepSaneUntilTheProcessEnds() {
  static const sane::Session* const kept = new sane::Session();
  (void)kept;
}

DsmTest::DsmTest() {
  setenv("XDG_CONFIG_HOME", config.path().c_str(), 1);
  blocksBefore = GlobalLiveBlocks();
}

DsmTest::~DsmTest() {
  CloseAll();
  unsetenv("XDG_CONFIG_HOME");
}

TW_UINT16 DsmTest::Manager(TW_UINT16 dat, TW_UINT16 msg, void* data, TW_UINT32 dg) {
  return manager.Entry(&application, nullptr, dg, dat, msg, data);
}

TW_UINT16 DsmTest::Source(TW_UINT32 dg, TW_UINT16 dat, TW_UINT16 msg, void* data) {
  return manager.Entry(&application, &source, dg, dat, msg, data);
}

TW_UINT16 DsmTest::ManagerCondition() {
  TW_STATUS status{};
  EXPECT_EQ(Manager(DAT_STATUS, MSG_GET, &status), TWRC_SUCCESS);
  return status.ConditionCode;
}

TW_UINT16 DsmTest::SourceCondition() {
  TW_STATUS status{};
  EXPECT_EQ(Source(DG_CONTROL, DAT_STATUS, MSG_GET, &status), TWRC_SUCCESS);
  return status.ConditionCode;
}

void DsmTest::OpenManager() {
  HWND parent = window;
  ASSERT_EQ(Manager(DAT_PARENT, MSG_OPENDSM, &parent), TWRC_SUCCESS);
}

void DsmTest::OpenSource(const std::string& deviceName) {
  sane::WriteRememberedDevice(deviceName);
  std::memset(&source, 0, sizeof source);
  ASSERT_EQ(Manager(DAT_IDENTITY, MSG_OPENDS, &source), TWRC_SUCCESS);
}

void DsmTest::Enable(bool showUi) {
  ui = TW_USERINTERFACE{static_cast<TW_BOOL>(showUi), 0, reinterpret_cast<TW_HANDLE>(window)};
  ASSERT_EQ(Source(DG_CONTROL, DAT_USERINTERFACE, MSG_ENABLEDS, &ui), TWRC_SUCCESS);
}

TW_UINT16 DsmTest::NextEvent() {
  std::optional<MorvexMessage> message = queue.Next();
  if (!message) {
    ADD_FAILURE() << "nothing was posted";
    return 0xFFFF;
  }
  EXPECT_EQ(message->window, window);
  TW_EVENT event{&*message, 0xFFFF};
  EXPECT_EQ(Source(DG_CONTROL, DAT_EVENT, MSG_PROCESSEVENT, &event), TWRC_DSEVENT);
  return event.TWMessage;
}

HGLOBAL DsmTest::Transfer() {
  TW_UINTPTR handle = 0;
  EXPECT_EQ(Source(DG_IMAGE, DAT_IMAGENATIVEXFER, MSG_GET, &handle), TWRC_XFERDONE);
  TW_PENDINGXFERS pending{7, {0}};
  EXPECT_EQ(Source(DG_CONTROL, DAT_PENDINGXFERS, MSG_ENDXFER, &pending), TWRC_SUCCESS);
  EXPECT_EQ(TW_UINT16{pending.Count}, 0);
  return reinterpret_cast<HGLOBAL>(handle);
}

void DsmTest::CloseAll() {
  if (manager.source() != nullptr && manager.source()->state() >= 5) {
    TW_PENDINGXFERS pending{};
    if (manager.source()->state() >= 6) Source(DG_CONTROL, DAT_PENDINGXFERS, MSG_ENDXFER, &pending);
    Source(DG_CONTROL, DAT_USERINTERFACE, MSG_DISABLEDS, &ui);
  }
  if (manager.source() != nullptr) Manager(DAT_IDENTITY, MSG_CLOSEDS, &source);
  if (manager.open()) {
    HWND parent = window;
    Manager(DAT_PARENT, MSG_CLOSEDSM, &parent);
  }
}

std::pair<int, int> DibSize(HGLOBAL dib) {
  const auto* bytes = static_cast<const std::uint8_t*>(GlobalLock(dib));
  if (bytes == nullptr) return {0, 0};
  std::int32_t width = 0, height = 0;
  std::memcpy(&width, bytes + 4, 4);
  std::memcpy(&height, bytes + 8, 4);
  GlobalUnlock(dib);
  return {width, height};
}

}  // namespace morvex::testing
