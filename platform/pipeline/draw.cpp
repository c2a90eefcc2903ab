// Draw(): the vertex stage, primitive assembly with clipping and set-up, then rasterisation in bands.
#include <algorithm>
#include <atomic>
#include <cstring>
#include <iterator>
#include <memory>

#include "geometry/clipper.h"
#include "geometry/vertex_stage.h"
#include "pipeline/pipeline.h"
#include "prepared_draw.h"
#include "queue/draw_queue.h"
#include "queue/workers.h"
#include "raster/rasterizer.h"

namespace pipeline {

namespace {

constexpr int kPrimitivesPerTask = 2048;
constexpr int kMaxSetupTasks = 64;
// Queued draws up to this size are set up by the workers when the queue runs, in parts of about
// kLaterPrimitivesPerPart primitives; larger ones are set up at the call, in parallel when large
// enough. Only small draws wait for the workers: the bands of a run wait until every set-up is done,
// and on a machine whose cores are busy with other work a thread set aside mid-set-up stalls them.
constexpr int kLaterSetupPrimitives = 256;
constexpr int kLaterSetupVertices = 1024;
constexpr int kLaterPrimitivesPerPart = 96;

std::atomic<int> globalThreads{0};

// Processed vertices of the set-up task running on this thread, by draw-local index. Each task
// transforms the vertices its primitives use as it meets them, so the vertices it reads were
// written by its own thread (a separate vertex pass spread them over every core's cache). A vertex
// shared by two tasks is processed by both, with the same result.
// A slot's tag is the task's number and the local index, so starting a task empties the cache
// without touching its slots.
struct VertexCache {
    static constexpr int kSlots = 1024;  // direct-mapped: local index modulo kSlots
    uint64_t tag[kSlots] = {};           // task 0 is never used
    uint64_t task = 0;
    ClipVertex clip[kSlots];
    ScreenVertex screen[kSlots];
    void Clear() {
        if (++task == (uint64_t(1) << 32)) {  // numbers run out: start again from empty slots
            std::fill(std::begin(tag), std::end(tag), uint64_t(0));
            task = 1;
        }
    }
    uint64_t Key(int local) const { return task << 32 | static_cast<uint32_t>(local); }
};

VertexCache& ThreadVertexCache() {
    thread_local std::unique_ptr<VertexCache> cache = std::make_unique<VertexCache>();
    return *cache;
}

int ResolveThreads(const DrawCall& call) {
    int n = call.threads > 0 ? call.threads : globalThreads.load();
    const int all = WorkerPool::Instance().Size();
    return n <= 0 || n > all ? all : n;
}

VaryingLayout VaryingsFor(const PixelState& state) {
    VaryingLayout vl;
    bool specular = state.specular;
    for (const StageState& stage : state.stages) {
        if (stage.colorOp == TextureOp::Disable) break;
        for (const TextureArg* a : {&stage.colorArg1, &stage.colorArg2, &stage.alphaArg1, &stage.alphaArg2})
            specular = specular || a->source == ArgSource::Specular;
        const int set = stage.texCoordIndex & 7;
        if (stage.texture && ReadsTexture(stage) && vl.tex[set] < 0) {
            vl.tex[set] = vl.count;
            vl.count += 2;
        }
    }
    if (specular) {
        vl.specular = vl.count;
        vl.count += 4;
    }
    if (state.fog) vl.fog = vl.count++;
    return vl;
}

// Maps the draw's element positions to processed vertices (-1: not drawable).
struct Assembly {
    const DrawCall* call;
    int first = 0, count = 0;

    int Local(int element) const {
        if (call->indexSize == IndexSize::None) return element < count ? element : -1;
        if (element >= call->indexCount) return -1;
        int64_t index;
        if (call->indexSize == IndexSize::Bits16) {
            uint16_t i;
            std::memcpy(&i, static_cast<const uint8_t*>(call->indices) + 2 * static_cast<size_t>(element), 2);
            index = i;
        } else {
            uint32_t i;
            std::memcpy(&i, static_cast<const uint8_t*>(call->indices) + 4 * static_cast<size_t>(element), 4);
            index = i;
        }
        const int64_t local = index + call->baseVertex - first;
        return local >= 0 && local < count ? static_cast<int>(local) : -1;
    }

    // The vertices of primitive k, first vertex first (it gives flat colours).
    int Vertices(int k, int out[3]) const {
        switch (call->type) {
        case PrimitiveType::PointList: out[0] = Local(k); return 1;
        case PrimitiveType::LineList: out[0] = Local(2 * k); out[1] = Local(2 * k + 1); return 2;
        case PrimitiveType::LineStrip: out[0] = Local(k); out[1] = Local(k + 1); return 2;
        case PrimitiveType::TriangleList:
            out[0] = Local(3 * k); out[1] = Local(3 * k + 1); out[2] = Local(3 * k + 2);
            return 3;
        case PrimitiveType::TriangleStrip:  // odd triangles reversed, so all keep the strip's winding
            out[0] = Local(k + (k & 1)); out[1] = Local(k + 1 - (k & 1)); out[2] = Local(k + 2);
            return 3;
        case PrimitiveType::TriangleFan: out[0] = Local(k + 1); out[1] = Local(k + 2); out[2] = Local(0); return 3;
        }
        return 0;
    }
};

struct DrawJob {
    const VertexSetup* vertex;
    const PixelPipeline* pixels;
    SetupContext setup;
    Assembly assembly;
    const PixelState* state;
    int varyingCount;
    int colorCount;  // varyings copied from the first vertex when flat shading
};

// The cache slot holding processed vertex `local`, processing it first if needed.
int FetchVertex(const DrawJob& job, VertexCache& cache, int local) {
    const int slot = local & (VertexCache::kSlots - 1);
    const uint64_t key = cache.Key(local);
    if (cache.tag[slot] == key) return slot;
    ClipVertex& clip = cache.clip[slot];
    ProcessVertices(*job.vertex, job.assembly.first + local, 1, &clip);
    if (clip.clipCodes == 0 && !ToScreen(job.vertex->clip, clip, job.varyingCount, cache.screen[slot]))
        clip.clipCodes = kClipBad;
    cache.tag[slot] = key;
    return slot;
}

// A copy of v with the flat colours of `first`.
ClipVertex WithColors(const ClipVertex& v, const ClipVertex& first, int colors) {
    ClipVertex r = v;
    std::copy(first.v, first.v + colors, r.v);
    return r;
}

// Sets up a triangle's screen polygon (three vertices, or more after clipping) as the fill mode asks.
void EmitPolygon(const DrawJob& job, const ClipVertex* const tri[3], const ScreenVertex* const polygon[], int count,
                 PrimitiveList& out) {
    const ClipSpace& space = job.vertex->clip;
    const int n = job.varyingCount;
    const FillMode fill = job.state->fill;
    if (count < 3) return;
    if (fill == FillMode::Solid) {
        for (int i = 1; i + 1 < count; ++i) SetupTriangle(job.setup, *polygon[0], *polygon[i], *polygon[i + 1], out);
        return;
    }
    // Wire-frame and point fill: cull on the whole polygon, then draw the original edges or vertices.
    int64_t area = 0;
    for (int i = 1; i + 1 < count; ++i) area += SignedArea(*polygon[0], *polygon[i], *polygon[i + 1]);
    const CullMode cull = job.state->cull;
    if (area == 0 || (cull == CullMode::Clockwise && area > 0) || (cull == CullMode::CounterClockwise && area < 0))
        return;
    for (int i = 0; i < 3; ++i) {
        const ClipVertex& a = *tri[i];
        if (fill == FillMode::Point) {
            ScreenVertex s;
            if (a.clipCodes == 0 && ToScreen(space, a, n, s)) SetupPoint(job.setup, s, out);
            continue;
        }
        ClipVertex ca, cb;
        ScreenVertex sa, sb;
        if (ClipLine(space, n, a, *tri[(i + 1) % 3], ca, cb) && ToScreen(space, ca, n, sa) && ToScreen(space, cb, n, sb))
            SetupLine(job.setup, sa, sb, out);
    }
}

// A triangle with a vertex outside a clip plane: clipped, then set up.
void EmitClippedTriangle(const DrawJob& job, const ClipVertex* const tri[3], PrimitiveList& out) {
    const ClipSpace& space = job.vertex->clip;
    const int n = job.varyingCount;
    ClipVertex clipped[kMaxClipPolygon];
    ScreenVertex screen[kMaxClipPolygon];
    const ScreenVertex* polygon[kMaxClipPolygon];
    const int count = ClipTriangle(space, n, *tri[0], *tri[1], *tri[2], clipped);
    for (int i = 0; i < count; ++i) {
        if (!ToScreen(space, clipped[i], n, screen[i])) return;
        polygon[i] = &screen[i];
    }
    EmitPolygon(job, tri, polygon, count, out);
}

void SetupPrimitives(const DrawJob& job, int begin, int end, PrimitiveList& out) {
    const ClipSpace& space = job.vertex->clip;
    const int n = job.varyingCount;
    const bool flat = job.state->shade == ShadeMode::Flat;
    VertexCache& cache = ThreadVertexCache();
    cache.Clear();  // the stream may have changed since this thread's last task
    ClipVertex clipCopies[3];
    ScreenVertex screenCopies[3];
    for (int k = begin; k < end; ++k) {
        int idx[3] = {-1, -1, -1};
        const int count = job.assembly.Vertices(k, idx);
        if (idx[0] < 0 || (count > 1 && idx[1] < 0) || (count > 2 && idx[2] < 0)) continue;
        const ClipVertex* clip[3] = {};
        const ScreenVertex* screen[3] = {};
        int slots[3];
        for (int i = 0; i < count; ++i) slots[i] = FetchVertex(job, cache, idx[i]);
        for (int i = 0; i < count; ++i) {
            clip[i] = &cache.clip[slots[i]];
            screen[i] = &cache.screen[slots[i]];
        }
        // Two vertices on one slot: the later fetch replaced the earlier one, so it is fetched again
        // and both are kept aside.
        bool shared = false;
        for (int i = 1; i < count; ++i) shared = shared || slots[i] == slots[0] || slots[i] == slots[i - 1];
        if (shared)
            for (int i = 0; i < count; ++i) {
                const int slot = FetchVertex(job, cache, idx[i]);
                clipCopies[i] = cache.clip[slot];
                screenCopies[i] = cache.screen[slot];
                clip[i] = &clipCopies[i];
                screen[i] = &screenCopies[i];
            }
        const ClipVertex& first = *clip[0];
        if (count == 1) {
            if (first.clipCodes == 0) SetupPoint(job.setup, *screen[0], out);
            continue;
        }
        ClipVertex flatCopies[2];
        const ClipVertex* v[3] = {&first, clip[1], count > 2 ? clip[2] : nullptr};
        if (flat)
            for (int i = 1; i < count; ++i) {
                flatCopies[i - 1] = WithColors(*v[i], first, job.colorCount);
                v[i] = &flatCopies[i - 1];
            }
        if (count == 2) {
            ClipVertex ca, cb;
            ScreenVertex sa, sb;
            if (ClipLine(space, n, *v[0], *v[1], ca, cb) && ToScreen(space, ca, n, sa) && ToScreen(space, cb, n, sb))
                SetupLine(job.setup, sa, sb, out);
            continue;
        }
        const uint32_t codes = v[0]->clipCodes | v[1]->clipCodes | v[2]->clipCodes;
        if (codes == 0 && !flat) {
            EmitPolygon(job, v, screen, 3, out);
        } else if (codes == 0) {
            ScreenVertex s[3];
            bool ok = true;
            for (int i = 0; i < 3; ++i) ok = ok && ToScreen(space, *v[i], n, s[i]);
            const ScreenVertex* direct[3] = {&s[0], &s[1], &s[2]};
            if (ok) EmitPolygon(job, v, direct, 3, out);
        } else {
            EmitClippedTriangle(job, v, out);
        }
    }
}

int PrimitivesAvailable(const DrawCall& call) { return std::max(call.primitiveCount, 0); }

}  // namespace

void SetThreadCount(int threads) { globalThreads.store(threads < 0 ? 0 : threads); }
int ThreadCount() {
    const int n = globalThreads.load(), all = WorkerPool::Instance().Size();
    return n <= 0 || n > all ? all : n;
}

namespace {

// Does the draw sample a texture whose bytes queued work writes (a render target read as a texture)?
bool ReadsQueuedTarget(const QueuedWork& queue, const PixelState& state) {
    if (queue.Empty()) return false;
    for (const StageState& stage : state.stages) {
        if (stage.colorOp == TextureOp::Disable) break;
        if (!stage.texture) continue;
        for (const TextureLevel& level : stage.texture->levels) {
            if (!level.data || level.pitch <= 0 || level.height <= 0) continue;
            const int rows = IsCompressed(stage.texture->format) ? (level.height + 3) / 4 : level.height;
            if (queue.Writes(level.data, level.data + static_cast<size_t>(level.pitch) * rows)) return true;
        }
    }
    return false;
}

PreparedDraw& ImmediateDraw() {
    thread_local PreparedDraw d;
    return d;
}

PixelRecord& ImmediateRecord() {
    thread_local PixelRecord r;
    return r;
}

DrawJob JobFor(const VertexSetup& vertex, const PixelRecord& record, const SetupContext& setup,
              const Assembly& assembly) {
    DrawJob job;
    job.vertex = &vertex;
    job.pixels = &record.pixels;
    job.setup = setup;
    job.assembly = assembly;
    job.state = &record.state;
    const VaryingLayout& varyings = record.pixels.varyings;
    job.varyingCount = varyings.count;
    job.colorCount = varyings.specular >= 0 ? varyings.specular + 4 : 4;
    return job;
}

// The rows of the bands a set-up draw's primitives were binned into, so the other bands skip it;
// false when it covers nothing.
bool FindRows(PreparedDraw& d) {
    int64_t covered = 0;
    int firstBand = d.bandCount, lastBand = -1;
    for (int i = 0; i < d.listCount; ++i) {
        const PrimitiveList& list = d.lists[i];
        covered += list.coveredArea;
        firstBand = std::min(firstBand, list.firstBand);
        lastBand = std::max(lastBand, list.lastBand);
    }
    d.firstRow = 0;
    d.lastRow = -1;
    if (covered == 0 || lastBand < firstBand) return false;
    const SetupContext& setup = d.setup;
    d.firstRow = std::max(setup.area.top, setup.bandTop + firstBand * setup.bandHeight);
    d.lastRow = std::min(setup.area.bottom, setup.bandTop + (lastBand + 1) * setup.bandHeight) - 1;
    return true;
}

// Copies the vertices (and indices) the draw may read into `d`, with a call that reads the copies.
void KeepForLater(const DrawCall& call, const Assembly& assembly, int primitives, PreparedDraw& d) {
    const size_t stride = static_cast<size_t>(call.layout.stride);
    const uint8_t* first = call.vertices + static_cast<size_t>(assembly.first) * stride;
    d.vertexBytes.assign(first, first + static_cast<size_t>(assembly.count) * stride);
    d.call = call;
    d.call.primitiveCount = primitives;
    d.call.vertices = d.vertexBytes.data();
    d.call.vertexCount = assembly.count;
    d.call.firstVertex = 0;
    if (call.indexSize != IndexSize::None) {
        // The copies start at the first vertex the indices may name.
        d.call.usedVertexCount = assembly.count;
        d.call.baseVertex = call.baseVertex - assembly.first;
        const int indices = static_cast<int>(std::min<int64_t>(call.indexCount, ElementsFor(call.type, primitives)));
        const size_t size = call.indexSize == IndexSize::Bits16 ? 2 : 4;
        const uint8_t* from = static_cast<const uint8_t*>(call.indices);
        d.indexBytes.assign(from, from + static_cast<size_t>(indices) * size);
        d.call.indices = d.indexBytes.data();
        d.call.indexCount = indices;
    }
    d.listCount = (primitives + kLaterPrimitivesPerPart - 1) / kLaterPrimitivesPerPart;
    if (d.lists.size() < static_cast<size_t>(d.listCount)) d.lists.resize(d.listCount);
    // Until it is set up, the draw may touch any row of its area.
    d.firstRow = d.setup.area.top;
    d.lastRow = d.setup.area.bottom - 1;
}

}  // namespace

void SetUpQueuedDraw(PreparedDraw& d, int part) {
    VertexSetup vertex = d.vertexRecord->setup;
    vertex.layout = d.call.layout;
    vertex.vertices = d.call.vertices;
    const DrawJob job = JobFor(vertex, *d.record, d.setup, Assembly{&d.call, 0, d.call.vertexCount});
    PrimitiveList& list = d.lists[part];
    list.Reset(d.bandCount);
    const int64_t primitives = d.call.primitiveCount;
    SetupPrimitives(job, static_cast<int>(primitives * part / d.listCount),
                    static_cast<int>(primitives * (part + 1) / d.listCount), list);
    if (d.listCount == 1) FindRows(d);
}

namespace {

// What a draw may touch: the part of the target it may write and the vertices it may read.
struct DrawExtent {
    Rect area;
    Assembly assembly{nullptr};
    int primitives = 0;
};

// The draw's checks: false when it draws nothing (an unusable target, call or viewport, an empty
// drawable area, no vertices to read).
bool FindExtent(const DrawCall& call, const PixelState& pixelState, const RenderTarget& target, DrawExtent& extent) {
    const ColorSurface& color = target.color;
    if (!color.data || color.width <= 0 || color.height <= 0 || color.pitch < color.width * BytesPerPixel(color.format))
        return false;
    if (!call.vertices || call.layout.stride <= 0 || call.vertexCount <= 0 || call.primitiveCount <= 0) return false;
    if (call.indexSize != IndexSize::None && (!call.indices || call.indexCount <= 0)) return false;
    if (target.viewport.width <= 0 || target.viewport.height <= 0) return false;

    Rect area = DrawableArea(target);
    const DepthSurface& depth = target.depth;
    const bool depthUsed = pixelState.depth.enable && depth.data && depth.format != DepthFormat::None;
    if (depthUsed) {
        if (depth.pitch < depth.width * BytesPerPixel(depth.format)) return false;
        area.right = std::min(area.right, depth.width);
        area.bottom = std::min(area.bottom, depth.height);
    }
    if (area.right <= area.left || area.bottom <= area.top) return false;

    // The vertices the draw may use.
    Assembly assembly{&call};
    const int primitives = PrimitivesAvailable(call);
    if (call.indexSize == IndexSize::None) {
        assembly.first = call.firstVertex;
        assembly.count = std::min<int64_t>(ElementsFor(call.type, primitives),
                                           static_cast<int64_t>(call.vertexCount) - call.firstVertex);
    } else {
        assembly.first = std::max(call.firstVertex, 0);
        const int64_t end = std::min<int64_t>(static_cast<int64_t>(call.firstVertex) + call.usedVertexCount, call.vertexCount);
        assembly.count = static_cast<int>(std::max<int64_t>(end - assembly.first, 0));
    }
    if (assembly.first < 0 || assembly.count <= 0) return false;
    extent = DrawExtent{area, assembly, primitives};
    return true;
}

// The pixel record a draw shades with. A queued draw shares the queue's last record when nothing it
// shades with has changed, else fills a new one of the queue's; an immediate draw fills this thread's.
// Preparing one decodes textures: before any worker.
const PixelRecord& PixelRecordFor(QueuedWork* queue, const PixelState& pixelState, const VaryingLayout& varyings,
                                  RenderTarget& target) {
    const PixelRecord* shared = queue ? queue->LastRecord() : nullptr;
    if (shared && shared->Matches(pixelState)) return *shared;
    PixelRecord& record = queue ? queue->NextRecord() : ImmediateRecord();
    record.Prepare(pixelState, varyings, target, queue != nullptr);
    return record;
}

// The vertex record of a draw set up later, shared with the queue's last one the same way.
const VertexRecord& VertexRecordFor(QueuedWork& queue, const DrawCall& call, const VertexState& vertexState,
                                    const VaryingLayout& varyings, const Viewport& viewport) {
    const VertexRecord* last = queue.LastVertexRecord();
    if (last && last->Matches(call, vertexState, varyings, viewport)) return *last;
    VertexRecord& fresh = queue.NextVertexRecord();
    fresh.Prepare(call, vertexState, varyings, viewport);
    return fresh;
}

// Sets the draw's primitives up at the call, in tasks spread over `threads` when there are enough.
void SetUpNow(const DrawCall& call, const VertexState& vertexState, const VaryingLayout& varyings,
              const RenderTarget& target, const DrawExtent& extent, int threads, PreparedDraw& prepared) {
    const VertexSetup vertexSetup = PrepareVertexStage(call, vertexState, varyings, target.viewport);
    const DrawJob job = JobFor(vertexSetup, *prepared.record, prepared.setup, extent.assembly);
    const int primitives = extent.primitives;
    const int bandCount = prepared.bandCount;
    const int setupTasks = std::min(kMaxSetupTasks, (primitives + kPrimitivesPerTask - 1) / kPrimitivesPerTask);
    if (prepared.lists.size() < static_cast<size_t>(setupTasks)) prepared.lists.resize(setupTasks);
    prepared.listCount = setupTasks;
    auto setupTask = [&](int task) {
        PrimitiveList& list = prepared.lists[task];
        list.Reset(bandCount);
        const int64_t begin = static_cast<int64_t>(primitives) * task / setupTasks;
        const int64_t end = static_cast<int64_t>(primitives) * (task + 1) / setupTasks;
        SetupPrimitives(job, static_cast<int>(begin), static_cast<int>(end), list);
    };
    WorkerPool::Instance().Run(setupTasks, threads, setupTask);
}

// Prepares the draw for `queue`'s bands, or (queue null) for rasterising straight into the target as
// one band: its pixel record, its set-up context and its primitives, or, for a small queued draw, the
// copies the workers set it up from when the queue runs. False when its primitives cover nothing.
bool PrepareDraw(const DrawCall& call, const VertexState& vertexState, const PixelState& pixelState,
                 RenderTarget& target, const DrawExtent& extent, QueuedWork* queue, int threads,
                 PreparedDraw& prepared) {
    const Rect& area = extent.area;
    const VaryingLayout varyings = VaryingsFor(pixelState);
    prepared.record = &PixelRecordFor(queue, pixelState, varyings, target);

    SetupContext& setup = prepared.setup;
    setup.area = area;
    setup.interpolants = varyings.count + 2;
    setup.cull = pixelState.cull;
    setup.lastPixel = pixelState.lastPixel;
    // Queued draws bin into the queue's fixed bands of rows; an immediate draw is one band.
    setup.bandTop = queue ? 0 : area.top;
    setup.bandHeight = queue ? queue->BandRows(target, threads) : area.bottom - area.top;
    prepared.bandCount = queue ? (area.bottom + setup.bandHeight - 1) / setup.bandHeight : 1;

    // A small queued draw keeps copies of its vertices and is set up by the workers when the queue runs.
    prepared.setUpLater = queue && extent.primitives <= kLaterSetupPrimitives &&
                          extent.assembly.count <= kLaterSetupVertices;
    if (prepared.setUpLater) {
        prepared.vertexRecord = &VertexRecordFor(*queue, call, vertexState, varyings, target.viewport);
        KeepForLater(call, extent.assembly, extent.primitives, prepared);
        return true;
    }
    SetUpNow(call, vertexState, varyings, target, extent, threads, prepared);
    return FindRows(prepared);
}

}  // namespace

void Draw(const DrawCall& call, const VertexState& vertexState, const PixelState& pixelState, RenderTarget& target) {
    DrawExtent extent;
    if (!FindExtent(call, pixelState, target, extent)) return;

    // With more than one thread, a draw into a target with a queue waits in it. Queued work runs
    // first when it is for another target, when the queue is full, when it writes a texture this draw
    // samples, and before a draw on one thread.
    const int threads = ResolveThreads(call);
    QueuedWork* queue = target.queue ? &target.queue->Work() : nullptr;
    std::unique_lock<std::mutex> lock;
    if (queue) {
        lock = std::unique_lock<std::mutex>(queue->mutex);
        if (threads <= 1 || queue->OtherTarget(target) || queue->Full() || ReadsQueuedTarget(*queue, pixelState))
            queue->Run();
    }
    QueuedWork* submitTo = threads > 1 ? queue : nullptr;

    PreparedDraw& prepared = submitTo ? submitTo->NextDraw() : ImmediateDraw();
    if (!PrepareDraw(call, vertexState, pixelState, target, extent, submitTo, threads, prepared)) return;
    if (submitTo)
        submitTo->AddDraw(target, threads);
    else
        prepared.RasterizeRows(0, extent.area.top, extent.area.bottom);
}

}  // namespace pipeline
