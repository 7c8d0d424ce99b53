#include "strokes/outlineseg.h"

#include <limits>
#include <new>

namespace quvo {

std::size_t PointBytes(std::size_t count) {
    constexpr std::size_t kMax = std::numeric_limits<std::size_t>::max();
    if (count > kMax / sizeof(StrokePoint)) {
        return kMax;
    }
    return count * sizeof(StrokePoint);
}

StrokePoint* AllocatePoints(std::size_t count) {
    const std::size_t bytes = PointBytes(count);
    if (bytes > std::numeric_limits<std::size_t>::max() / 2) {
        throw std::bad_alloc();
    }
    return new StrokePoint[bytes / sizeof(StrokePoint)];
}

OutlineSeg* NewHeadEntry() { return new OutlineSeg(); }

namespace {

void FreeSegment(OutlineSeg* seg) {
    if (seg->pointCount != 0) {
        delete[] seg->points;
    }
    delete seg;
}

}  // namespace

void FreeStrokeList(OutlineSeg* head) {
    while (head) {
        OutlineSeg* nextHead = head->nextStroke;
        OutlineSeg* seg = head->nextSeg;
        FreeSegment(head);
        while (seg) {
            OutlineSeg* next = seg->nextSeg;
            FreeSegment(seg);
            seg = next;
        }
        head = nextHead;
    }
}

const OutlineSeg* StrokeChainAt(const OutlineSeg* head, int k) {
    if (k < 1) {
        return nullptr;
    }
    for (int i = 1; head && i < k; ++i) {
        head = head->nextStroke;
    }
    // The trailing entry has no next stroke: it is the end marker, not a stroke.
    if (!head || !head->nextStroke) {
        return nullptr;
    }
    return head->nextSeg;
}

OutlineSeg* StrokeChainAt(OutlineSeg* head, int k) {
    return const_cast<OutlineSeg*>(StrokeChainAt(static_cast<const OutlineSeg*>(head), k));
}

int CountStrokes(const OutlineSeg* head) {
    int n = 0;
    for (; head && head->nextStroke; head = head->nextStroke) {
        ++n;
    }
    return n;
}

void StrokeList::Reset() {
    Free();
    m_first = NewHeadEntry();
    m_segCursor = m_first;
    m_headCursor = m_first;
}

void StrokeList::Free() {
    FreeStrokeList(m_first);
    m_first = nullptr;
    m_segCursor = nullptr;
    m_headCursor = nullptr;
}

}  // namespace quvo
