#include "queue/draw_queue.h"

#include <algorithm>
#include <atomic>
#include <limits>
#include <thread>

#include "pipeline/pipeline.h"
#include "queue/workers.h"

namespace pipeline {

namespace {
constexpr size_t kMaxQueuedCommands = 8192;
constexpr int64_t kMaxQueuedPrimitives = 1 << 20;
constexpr size_t kMaxQueuedVertexBytes = 16 << 20;  // copies kept by draws set up later

bool SameSurfaces(const RenderTarget& a, const RenderTarget& b) {
    return a.color.data == b.color.data && a.color.pitch == b.color.pitch && a.color.width == b.color.width &&
           a.color.height == b.color.height && a.color.format == b.color.format && a.depth.data == b.depth.data &&
           a.depth.pitch == b.depth.pitch && a.depth.width == b.depth.width && a.depth.height == b.depth.height &&
           a.depth.format == b.depth.format;
}

// Bands of 16 to 64 rows, as tall as leaves about four bands per thread: a triangle is set up again
// in each band it crosses and each band walks the list of queued commands, so fewer bands cost less,
// but the threads need enough of them to share out.
int BandRowsFor(int rows, int threads) {
    int bandRows = 16;
    while (bandRows < 64 && rows / (2 * bandRows) >= 4 * threads) bandRows *= 2;
    return bandRows;
}

bool Overlaps(const uint8_t* data, int pitch, int rows, const uint8_t* begin, const uint8_t* end) {
    if (!data || pitch <= 0 || rows <= 0) return false;
    const uint8_t* last = data + static_cast<size_t>(pitch) * rows;
    return begin < last && data < end;
}
}  // namespace

bool QueuedWork::OtherTarget(const RenderTarget& target) const {
    return !commands_.empty() && !SameSurfaces(target, target_);
}

bool QueuedWork::Writes(const uint8_t* begin, const uint8_t* end) const {
    if (commands_.empty()) return false;
    return Overlaps(target_.color.data, target_.color.pitch, target_.color.height, begin, end) ||
           Overlaps(target_.depth.data, target_.depth.pitch, target_.depth.height, begin, end);
}

bool QueuedWork::Full() const {
    return commands_.size() >= kMaxQueuedCommands || primitives_ >= kMaxQueuedPrimitives ||
           copiedBytes_ >= kMaxQueuedVertexBytes;
}

PreparedDraw& QueuedWork::NextDraw() {
    if (drawCount_ == static_cast<int>(Draws().size())) Draws().push_back(std::make_unique<PreparedDraw>());
    return *Draws()[drawCount_];
}

int QueuedWork::BandRows(const RenderTarget& target, int threads) const {
    return commands_.empty() ? BandRowsFor(target.color.height, threads) : bandRows_;
}

void QueuedWork::NoteTarget(const RenderTarget& target, int threads) {
    if (commands_.empty()) {
        bandRows_ = BandRowsFor(target.color.height, threads);
        target_ = target;
        threads_ = threads;
        rows_ = 0;
        primitives_ = 0;
        copiedBytes_ = 0;
    }
    threads_ = std::max(threads_, threads);
}

void QueuedWork::AddDraw(const RenderTarget& target, int threads) {
    NoteTarget(target, threads);
    const PreparedDraw& d = *Draws()[drawCount_];
    if (d.setUpLater) {
        // Until it is set up, the draw may touch any row of its area.
        for (int part = 0; part < d.listCount; ++part) setUps_.push_back({static_cast<int>(commands_.size()), part});
        commands_.push_back({false, drawCount_++, d.setup.area.top, d.setup.area.bottom - 1});
        rows_ = std::max(rows_, d.setup.area.bottom);
        primitives_ += d.call.primitiveCount;
        copiedBytes_ += d.vertexBytes.size() + d.indexBytes.size();
        return;
    }
    commands_.push_back({false, drawCount_++, d.firstRow, d.lastRow});
    rows_ = std::max(rows_, d.lastRow + 1);
    for (int i = 0; i < d.listCount; ++i)
        primitives_ += static_cast<int64_t>(d.lists[i].triangles.size() + d.lists[i].lines.size() + d.lists[i].points.size());
}

void QueuedWork::AddClear(ClearCommand clear, int threads) {
    NoteTarget(clear.target, threads);
    int firstRow = std::numeric_limits<int>::max(), lastRow = -1;
    for (const Rect& r : clear.rects) {
        rows_ = std::max(rows_, r.bottom);
        firstRow = std::min(firstRow, r.top);
        lastRow = std::max(lastRow, r.bottom - 1);
    }
    commands_.push_back({true, static_cast<int>(clears_.size()), firstRow, lastRow});
    clears_.push_back(std::move(clear));
}

void QueuedWork::Run(const std::function<void(int top, int bottom)>* read, int readRows) {
    if (!read || readRows <= 0) {
        read = nullptr;
        readRows = 0;
    }
    if (commands_.empty() && !read) return;
    const int bandRows = commands_.empty() ? BandRowsFor(readRows, ThreadCount()) : bandRows_;
    const int threads = commands_.empty() ? ThreadCount() : threads_;
    const int bands = (std::max(rows_, readRows) + bandRows - 1) / bandRows;
    // One job: first the draws left to set up, then the bands, which wait until every set-up is done
    // (tasks are handed out in order, so each set-up has a thread running it by then).
    const int setUps = static_cast<int>(setUps_.size());
    std::atomic<int> setUpsDone{0};
    auto task = [&](int t) {
        if (t < setUps) {
            Command& c = commands_[setUps_[t].command];
            PreparedDraw& d = *Draws()[c.index];
            SetUpQueuedDraw(d, setUps_[t].part);
            if (d.listCount == 1) {
                c.firstRow = d.firstRow;
                c.lastRow = d.lastRow;
            }
            setUpsDone.fetch_add(1, std::memory_order_release);
            return;
        }
        for (int spins = 0; setUpsDone.load(std::memory_order_acquire) < setUps; ++spins) {
            if (spins < 1024)
                PauseCpu();
            else
                std::this_thread::yield();
        }
        const int b = t - setUps;
        const int top = b * bandRows, bottom = top + bandRows;
        for (const Command& c : commands_) {
            if (c.lastRow < top || c.firstRow >= bottom) continue;
            if (c.isClear)
                ClearRows(clears_[c.index], top, bottom);
            else
                Draws()[c.index]->RasterizeRows(b, top, bottom);
        }
        if (read && top < readRows) (*read)(top, std::min(bottom, readRows));
    };
    WorkerPool::Instance().Run(setUps + bands, threads, task);
    commands_.clear();
    setUps_.clear();
    clears_.clear();
    // Let go of the texels sampled.
    for (int i = 0; i < pixelRecords_.count; ++i) pixelRecords_.sets[set_][i]->textures.clear();
    pixelRecords_.count = 0;
    vertexRecords_.count = 0;
    drawCount_ = 0;
    set_ ^= 1;
    primitives_ = 0;
    copiedBytes_ = 0;
    rows_ = 0;
}

DrawQueue::DrawQueue() : work_(std::make_unique<QueuedWork>()) {}

DrawQueue::~DrawQueue() { Flush(); }

void DrawQueue::Flush() {
    std::lock_guard<std::mutex> lock(work_->mutex);
    work_->Run();
}

void DrawQueue::FlushAndRead(int rows, const std::function<void(int top, int bottom)>& read) {
    std::lock_guard<std::mutex> lock(work_->mutex);
    work_->Run(&read, rows);
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
