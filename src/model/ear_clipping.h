// Cuts one polygon face into triangles by ear clipping, in time close to linear in its corner
// count for the faces that models hold (convex or nearly so, stars, combs).
#pragma once

#include <cstdint>
#include <vector>

#include "model/objl.h"

namespace objl {

// Holds its working lists between faces, so that a face costs no allocations once they have
// grown. Not safe to share between threads.
class EarClipper {
 public:
  // Appends the triangles of the face to `out`, three indices into `corners` each, every
  // triangle in ascending index order. The corners' positions must be finite and all
  // different (at least four corners), or there may be any (three corners: 0, 1, 2).
  //
  // The face is looked at in the plane across its area normal, wound so that its area is
  // positive. An ear is a strictly convex corner whose triangle with its two neighbours holds
  // no other remaining corner that is not strictly convex, edges included. The ear with the
  // lowest index is always cut first; when four corners remain, they are split along the
  // diagonal from the second to the fourth of them (in index order, from the lowest), or
  // along the other one when the first or the third of them is reflex, or lies on a line
  // with its neighbours while the second and the fourth are convex. A face in which no
  // ear is left keeps the triangles cut so far. So a convex face gives the fan (k, k + 1,
  // n - 1), and every simple face is tiled exactly, none of its triangles outside it.
  void cut(const std::vector<Vertex>& corners, std::vector<std::uint32_t>& out);

 private:
  static constexpr std::uint32_t kNone = 0xFFFFFFFFu;

  // The face's corners in the plane, wound counter-clockwise.
  std::vector<double> x_;
  std::vector<double> y_;
  std::vector<std::uint32_t> prev_;
  std::vector<std::uint32_t> next_;
  std::vector<std::uint8_t> convex_;
  std::vector<std::uint8_t> removed_;
  std::vector<std::uint8_t> inGrid_;
  std::vector<std::uint8_t> inHeap_;
  // The corner that kept each corner from being an ear, and per blocking corner a list of
  // those it kept (heads, then links and entries): when it turns convex they are looked at
  // again.
  std::vector<std::uint32_t> blocker_;
  std::vector<std::uint32_t> blockedHead_;
  std::vector<std::uint32_t> entryNext_;
  std::vector<std::uint32_t> entryCorner_;
  // Candidate ears, smallest index on top.
  std::vector<std::uint32_t> heap_;
  // The corners that were not convex at the start, in a uniform grid over their bounding
  // box; those that stop being convex later are kept in a plain list beside it.
  std::vector<std::uint32_t> cellStart_;
  std::vector<std::uint32_t> cellItems_;
  std::vector<std::uint32_t> lateReflex_;
  int gridW_ = 1;
  int gridH_ = 1;
  double gridX0_ = 0;
  double gridY0_ = 0;
  double cellW_ = 1;
  double cellH_ = 1;
  double slack_ = 0;

  void project(const std::vector<Vertex>& corners);
  double turn(std::uint32_t a, std::uint32_t b, std::uint32_t c) const;
  bool inTriangle(std::uint32_t q, std::uint32_t a, std::uint32_t b, std::uint32_t c) const;
  void buildGrid(std::uint32_t n);
  int column(double x) const;
  int row(double y) const;
  std::uint32_t findBlocker(std::uint32_t v) const;
  void recordBlocker(std::uint32_t v, std::uint32_t u);
  void wakeBlocked(std::uint32_t u);
  void pushCandidate(std::uint32_t v);
  void emit(std::uint32_t a, std::uint32_t b, std::uint32_t c, std::vector<std::uint32_t>& out) const;
};

}  // namespace objl
