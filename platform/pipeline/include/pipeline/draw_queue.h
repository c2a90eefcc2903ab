#pragma once
// Where the draws and clears of a render target wait to be rasterised. Its owner (a device, say) puts
// it in the RenderTarget it draws with; work runs in submission order when the queue is flushed, by
// itself before work for another target, before a draw samples memory that queued work writes, and when
// it grows large. Queued work never outlives its queue: destroying it runs what is left.
#include <functional>
#include <memory>

namespace pipeline {

class QueuedWork;

class DrawQueue {
public:
    DrawQueue();
    ~DrawQueue();
    DrawQueue(const DrawQueue&) = delete;
    DrawQueue& operator=(const DrawQueue&) = delete;

    // Runs everything queued.
    void Flush();
    // Runs everything queued, then hands each band of rows [0, rows) to `read(top, bottom)` on the
    // thread that drew it, as soon as the band is done: the rows are read while they are in that
    // core's cache, by all the threads at once. `read` must only read the target's rows it is given.
    void FlushAndRead(int rows, const std::function<void(int top, int bottom)>& read);
    // Runs the queued work if it writes memory in [begin, end): call before that memory is read,
    // written or freed outside the pipeline.
    void FlushWrites(const void* begin, const void* end);

    // The queued commands themselves, for the pipeline's stages.
    QueuedWork& Work() const { return *work_; }

private:
    std::unique_ptr<QueuedWork> work_;
};

}  // namespace pipeline
