// The hook through which a Source Manager posts to the program's queue.
#include "morvex/winshim/post_message.h"

#include <mutex>

namespace {

struct Poster {
  std::mutex mutex;
  MorvexMessagePoster function = nullptr;
  void* context = nullptr;
};

Poster& ThePoster() {
  static Poster poster;
  return poster;
}

}  // namespace

extern "C" {

int MorvexPostMessage(const MorvexMessage* message) {
  if (message == nullptr) return 0;
  Poster& poster = ThePoster();
  std::lock_guard lock(poster.mutex);
  return poster.function == nullptr ? 0 : poster.function(message, poster.context);
}

void MorvexSetMessagePoster(MorvexMessagePoster function, void* context) {
  Poster& poster = ThePoster();
  std::lock_guard lock(poster.mutex);
  poster.function = function;
  poster.context = context;
}

}  // extern "C"
