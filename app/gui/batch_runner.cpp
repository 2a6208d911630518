#include "batch_runner.h"

#include <QEventLoop>
#include <QMetaObject>
#include <QObject>
#include <exception>
#include <thread>

namespace morvex::gui {

app::BatchReport RunBatch(app::FolderBatch& batch, const std::function<void(std::int32_t, std::int32_t)>& progress) {
  QEventLoop loop;
  QObject receiver;  // lives on this thread: queued calls to it run here
  std::exception_ptr error;
  const std::int32_t total = batch.total();
  std::thread worker([&] {
    try {
      while (!batch.finished()) {
        batch.step();
        const std::int32_t done = batch.done();
        QMetaObject::invokeMethod(&receiver, [&progress, done, total] { progress(done, total); }, Qt::QueuedConnection);
      }
    } catch (...) {
      error = std::current_exception();
    }
    QMetaObject::invokeMethod(&receiver, [&loop] { loop.quit(); }, Qt::QueuedConnection);
  });
  loop.exec();
  worker.join();
  if (error) std::rethrow_exception(error);
  return batch.finish();
}

}  // namespace morvex::gui
