#include "queue/draw_queue.h"

#include <algorithm>
#include <limits>

#include "pipeline/pipeline.h"
#include "queue/workers.h"
#include "raster/rasterizer.h"

namespace pipeline {

namespace {
constexpr size_t kMaxQueuedCommands = 8192;
constexpr int64_t kMaxQueuedPrimitives = 1 << 20;
// Queued commands handed to the workers at once while the program goes on submitting: enough that a
// batch outweighs waking the workers, few enough that they start early in a frame.
constexpr size_t kLaunchCommands = 64;

bool SameSurfaces(const RenderTarget& a, const RenderTarget& b) {
    return a.color.data == b.color.data && a.color.pitch == b.color.pitch && a.color.width == b.color.width &&
           a.color.height == b.color.height && a.color.format == b.color.format && a.depth.data == b.depth.data &&
           a.depth.pitch == b.depth.pitch && a.depth.width == b.depth.width && a.depth.height == b.depth.height &&
           a.depth.format == b.depth.format;
}

bool Overlaps(const uint8_t* data, int pitch, int rows, const uint8_t* begin, const uint8_t* end) {
    if (!data || pitch <= 0 || rows <= 0) return false;
    const uint8_t* last = data + static_cast<size_t>(pitch) * rows;
    return begin < last && data < end;
}
}  // namespace

void PreparedDraw::RasterizeRows(int band, int top, int bottom) const {
    if (bottom <= firstRow || top > lastRow) return;
    for (int i = 0; i < listCount; ++i) RasterizeBand(pixels, setup, lists[i], band, top, bottom);
}

void QueuedWork::Batch::Band(int b) const {
    const int top = b * kQueueBandRows, bottom = top + kQueueBandRows;
    for (const Command& c : commands) {
        if (b < c.firstBand || b > c.lastBand) continue;
        if (c.isClear)
            ClearRows(clears[c.index], top, bottom);
        else
            draws[c.index]->RasterizeRows(b, top, bottom);
    }
}

void QueuedWork::Batch::Reset() {
    commands.clear();
    clears.clear();
    for (int i = 0; i < drawCount; ++i) draws[i]->textures.clear();  // let go of the texels sampled
    drawCount = 0;
    rows = 0;
}

QueuedWork::~QueuedWork() { Land(); }

bool QueuedWork::OtherTarget(const RenderTarget& target) const { return !Empty() && !SameSurfaces(target, target_); }

bool QueuedWork::Writes(const uint8_t* begin, const uint8_t* end) const {
    if (Empty()) return false;
    return Overlaps(target_.color.data, target_.color.pitch, target_.color.height, begin, end) ||
           Overlaps(target_.depth.data, target_.depth.pitch, target_.depth.height, begin, end);
}

bool QueuedWork::Full() const {
    return Commands().size() >= kMaxQueuedCommands || primitives_ >= kMaxQueuedPrimitives;
}

PreparedDraw& QueuedWork::NextDraw() {
    Batch& batch = batches_[batch_];
    if (batch.drawCount == static_cast<int>(batch.draws.size()))
        batch.draws.push_back(std::make_unique<PreparedDraw>());
    return *batch.draws[batch.drawCount];
}

void QueuedWork::NoteTarget(const RenderTarget& target, int threads) {
    if (Empty()) {
        target_ = target;
        threads_ = threads;
        primitives_ = 0;
    }
    threads_ = std::max(threads_, threads);
}

void QueuedWork::AddDraw(const RenderTarget& target, int threads) {
    NoteTarget(target, threads);
    Batch& batch = batches_[batch_];
    const PreparedDraw& d = *batch.draws[batch.drawCount];
    batch.commands.push_back({false, batch.drawCount++, d.firstRow / kQueueBandRows, d.lastRow / kQueueBandRows});
    batch.rows = std::max(batch.rows, d.lastRow + 1);
    for (int i = 0; i < d.listCount; ++i)
        primitives_ += static_cast<int64_t>(d.lists[i].triangles.size() + d.lists[i].lines.size() + d.lists[i].points.size());
    if (batch.commands.size() >= kLaunchCommands) {
        Land();
        Launch();
    }
}

void QueuedWork::AddClear(ClearCommand clear, int threads) {
    NoteTarget(clear.target, threads);
    Batch& batch = batches_[batch_];
    int top = std::numeric_limits<int>::max(), bottom = 0;
    for (const Rect& r : clear.rects) {
        top = std::min(top, r.top);
        bottom = std::max(bottom, r.bottom);
    }
    batch.rows = std::max(batch.rows, bottom);
    batch.commands.push_back({true, static_cast<int>(batch.clears.size()), top / kQueueBandRows, (bottom - 1) / kQueueBandRows});
    batch.clears.push_back(std::move(clear));
}

void QueuedWork::Launch() {
    const Batch& batch = batches_[batch_];
    flightTask_.batch = &batch;
    // The submitting thread goes on setting up draws: the workers alone take the bands, until Land.
    ticket_ = WorkerPool::Instance().Start((batch.rows + kQueueBandRows - 1) / kQueueBandRows, threads_ - 1,
                                           flightTask_);
    inFlight_ = true;
    batch_ ^= 1;
    primitives_ = 0;
}

void QueuedWork::Land() {
    if (!inFlight_) return;
    WorkerPool::Instance().Finish(ticket_);
    batches_[batch_ ^ 1].Reset();
    inFlight_ = false;
}

void QueuedWork::Run() {
    Land();
    Batch& batch = batches_[batch_];
    if (batch.commands.empty()) return;
    BandTask task{&batch};
    WorkerPool::Instance().Run((batch.rows + kQueueBandRows - 1) / kQueueBandRows, threads_, task);
    batch.Reset();
    batch_ ^= 1;
    primitives_ = 0;
}

DrawQueue::DrawQueue() : work_(std::make_unique<QueuedWork>()) {}

DrawQueue::~DrawQueue() { Flush(); }

void DrawQueue::Flush() {
    std::lock_guard<std::mutex> lock(work_->mutex);
    work_->Run();
}

void DrawQueue::FlushWrites(const void* begin, const void* end) {
    std::lock_guard<std::mutex> lock(work_->mutex);
    if (work_->Writes(static_cast<const uint8_t*>(begin), static_cast<const uint8_t*>(end))) work_->Run();
}

void Flush(const RenderTarget& target) {
    if (!target.queue) return;
    QueuedWork& work = target.queue->Work();
    std::lock_guard<std::mutex> lock(work.mutex);
    // One target is queued at a time: work for another one has already run.
    if (!work.OtherTarget(target)) work.Run();
}

}  // namespace pipeline
