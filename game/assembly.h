#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "app/dialoglayout.h"
#include "strokes/polygonregion.h"

namespace quvo {

// The rules of the assembling game, free of windows: which pieces are placed and in what
// order, the verdict when all are placed, what the hint and the stroke-by-stroke check
// expect next, and the steps of the demonstration. Pieces are numbered from 1 to n.

// The pieces put into the practice panel, in order, as "3,1,2," (each number followed by a
// comma), with their count.
class PlacedStrokes {
public:
    bool Contains(int piece) const;
    void Append(int piece);
    // Removes the piece's item and its comma; false when it is not there.
    bool Remove(int piece);
    void Clear();
    int Count() const { return m_count; }
    const std::string& Text() const { return m_text; }

private:
    std::string m_text;
    int m_count = 0;
};

// What putting a carried piece down does to the record (only while fewer than n are placed).
enum class DropOutcome { kNothing, kPlaced, kRemoved };
DropOutcome DropPiece(PlacedStrokes& placed, int piece, bool inPracticePanel);

// Compares the stroke order with the placing order item by item. Each position k whose items
// differ goes into the wrong list ("1,2,") and marks[k - 1] gets the piece placed there (for
// positions that have a mark; marks.size() is n). An empty stroke order finds nothing wrong.
std::string CheckAssembly(const std::string& strokeOrder, const std::string& placedText,
                          std::vector<std::uint8_t>& marks);

// The piece that should come next: item (placed count + 1) of the stroke order, or -1 when
// there is none or it does not name one of the n pieces.
int ExpectedPiece(const std::string& strokeOrder, int placedCount, int n);

// The large stroke the hint outlines: the expected piece, stroke 1 when the stroke order
// names none (empty, or an item of 1 or less); -1 when the item names no piece at all.
int HintStroke(const std::string& strokeOrder, int placedCount, int n);

// The stroke-by-stroke check of a pick-up.
enum class PickUpVerdict { kUnchecked, kRight, kWrong };
PickUpVerdict CheckPickUp(bool checkOn, bool fromPiecesPanel, const std::string& strokeOrder,
                          int placedCount, int n, int piece);

// One tick of the demonstration: at step k (from 0) piece StrokeOrderAt(k + 1) goes into the
// panel; after the n-th, the next tick sends every piece of the stroke order back home and
// ends the run.
struct DemoTick {
    int pieceIn = -1;              // piece to move into the practice panel, -1 for none
    std::vector<int> piecesBack;   // pieces to send home, when the run ends
    bool finished = false;         // the timer stops
    int nextStep = 0;
};
DemoTick NextDemoTick(const std::string& strokeOrder, int step, int n);

// The result page's address after a completed assembly: "shizi.asp?z=<character>&f=<ok|no>
// &b=<wrong list>&c=<n>&s=" and the five button characters each followed by a comma.
std::string ResultPageQuery(const std::string& character, const std::string& result,
                            const std::string& wrongList, int n,
                            const std::vector<std::string>& buttonCharacters);

// The enlarged preview of a piece: where its large window goes so that the point of the
// stroke under the pointer stays under it. The small and the large outline are one glyph at
// two heights, so the pointer's place within the small stroke's box is the same place within
// the large one. `point` is the pointer and `smallWindow` the small piece's top-left, both in
// dialog coordinates; `small` and `large` are the two outlines' boxes (right and bottom
// inclusive); `largeShape` is the large piece's shape in its window's coordinates. Should the
// mapped point fall just outside that shape, the nearest pixel of the shape goes under the
// pointer instead. Returns the large window's top-left.
StrokePoint PreviewTopLeft(StrokePoint point, StrokePoint smallWindow, const Rect& small, const Rect& large,
                     const PolygonRegion& largeShape);

}  // namespace quvo
