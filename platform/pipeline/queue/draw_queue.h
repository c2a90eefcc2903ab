#pragma once
// The work a DrawQueue holds, waiting to be rasterised, with the clears in submission order. A draw
// captures its state and textures when it is submitted; a large one is set up then too (vertices
// transformed, primitives clipped and binned), a small one keeps copies of its vertices and is set up
// by the workers when the queue runs. A run first sets up those draws, then hands the rows to the
// workers in bands, each band running every queued command that touches it in order, so many small
// draws keep all threads busy at once.
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

#include "pipeline/draw_queue.h"
#include "pipeline/render_target.h"
#include "prepared_draw.h"

namespace pipeline {

// A clear with its values resolved.
struct ClearCommand {
    RenderTarget target;
    std::vector<Rect> rects;  // within the drawable area
    bool color = false, depth = false;
    uint32_t colorValue = 0, depthValue = 0, depthKeep = 0;
    Rect depthArea;          // the part of the drawable area the depth surface covers
};

// Clears rows [top, bottom) of the command's rectangles.
void ClearRows(const ClearCommand& clear, int top, int bottom);

// The commands of one queue, for one target at a time.
class QueuedWork {
public:
    // Held by draw, clear and flush for their whole work.
    std::mutex mutex;

    bool Empty() const { return commands_.empty(); }
    // Is this queue's work for another target (flush it before queuing work for `target`)?
    bool OtherTarget(const RenderTarget& target) const;
    // Does queued work write memory in [begin, end)?
    bool Writes(const uint8_t* begin, const uint8_t* end) const;
    // Should the queue run before more is added?
    bool Full() const;

    // Rows per band for work queued now for `target` on `threads` threads: fixed by the queue's
    // first command until it runs.
    int BandRows(const RenderTarget& target, int threads) const;

    // A draw object to fill and then add(); reused from earlier flushes.
    PreparedDraw& NextDraw();
    // The pixel record queued last (null when none), and a new one to fill, kept until the queue runs.
    const PixelRecord* LastRecord() const { return pixelRecords_.Last(set_); }
    PixelRecord& NextRecord() { return pixelRecords_.Next(set_); }
    // The same for vertex records.
    const VertexRecord* LastVertexRecord() const { return vertexRecords_.Last(set_); }
    VertexRecord& NextVertexRecord() { return vertexRecords_.Next(set_); }
    void AddDraw(const RenderTarget& target, int threads);
    void AddClear(ClearCommand clear, int threads);

    // Runs everything queued, in order, and empties the queue. With `read`, each band of rows
    // [0, readRows) is then passed to it, as DrawQueue::FlushAndRead says.
    void Run(const std::function<void(int top, int bottom)>* read = nullptr, int readRows = 0);

private:
    // A band skips the commands outside its rows without reading their records.
    struct Command {
        bool isClear;
        int index;
        int firstRow, lastRow;
    };
    void NoteTarget(const RenderTarget& target, int threads);

    std::vector<Command> commands_;
    // Two sets of draw objects, used by turns from flush to flush: set-up writes its records where the
    // flush before last left them, not where other cores have just read them.
    std::vector<std::unique_ptr<PreparedDraw>> sets_[2];
    int set_ = 0;
    std::vector<std::unique_ptr<PreparedDraw>>& Draws() { return sets_[set_]; }
    int drawCount_ = 0;  // Draws()[0, drawCount_) queued
    // Records kept until the queue runs, in two sets used by turns like the draws.
    template <typename T>
    struct Records {
        std::vector<std::unique_ptr<T>> sets[2];
        int count = 0;  // sets[set][0, count) in use
        const T* Last(int set) const { return count > 0 ? sets[set][count - 1].get() : nullptr; }
        T& Next(int set) {
            if (count == static_cast<int>(sets[set].size())) sets[set].push_back(std::make_unique<T>());
            return *sets[set][count++];
        }
    };
    Records<PixelRecord> pixelRecords_;
    Records<VertexRecord> vertexRecords_;
    struct SetUp {
        int command, part;
    };
    std::vector<SetUp> setUps_;  // the parts of queued draws set up when the queue runs
    std::vector<ClearCommand> clears_;
    RenderTarget target_;
    int threads_ = 1;
    int bandRows_ = 16;
    int rows_ = 0;
    int64_t primitives_ = 0;
    size_t copiedBytes_ = 0;  // vertices and indices copied by the draws set up later
};

}  // namespace pipeline
