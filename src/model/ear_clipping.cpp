#include "model/ear_clipping.h"

#include <algorithm>
#include <cmath>
#include <functional>

namespace objl {

namespace {

// The grid has about one cell per reflex corner, and never more than this many a side.
constexpr int kMaxGridSide = 4096;

}  // namespace

void EarClipper::project(const std::vector<Vertex>& corners) {
  const std::size_t n = corners.size();
  const Vector3& origin = corners[0].pos;
  auto rel = [&](std::size_t i, int axis) {
    const Vector3& p = corners[i].pos;
    const float c = axis == 0 ? p.x : axis == 1 ? p.y : p.z;
    const float o = axis == 0 ? origin.x : axis == 1 ? origin.y : origin.z;
    return static_cast<double>(c) - static_cast<double>(o);
  };

  // The area normal: the sum of the cross products of a fan from the first corner. It points
  // to the side from which the face winds counter-clockwise, whatever its shape.
  double nx = 0, ny = 0, nz = 0;
  for (std::size_t i = 1; i + 1 < n; ++i) {
    const double ax = rel(i, 0), ay = rel(i, 1), az = rel(i, 2);
    const double bx = rel(i + 1, 0), by = rel(i + 1, 1), bz = rel(i + 1, 2);
    nx += ay * bz - az * by;
    ny += az * bx - ax * bz;
    nz += ax * by - ay * bx;
  }

  // Drop the coordinate along which the normal is largest; keep the other two in cyclic
  // order, so that the face's winding shows, and mirror them when the normal points down.
  int u = 0, v = 1;
  double along = nz;
  if (std::fabs(nx) > std::fabs(nz) && std::fabs(nx) >= std::fabs(ny)) {
    u = 1, v = 2, along = nx;
  } else if (std::fabs(ny) > std::fabs(nz)) {
    u = 2, v = 0, along = ny;
  }
  const double mirror = along < 0 ? -1.0 : 1.0;

  x_.resize(n);
  y_.resize(n);
  double minX = 0, maxX = 0, minY = 0, maxY = 0;
  for (std::size_t i = 0; i < n; ++i) {
    x_[i] = rel(i, u);
    y_[i] = mirror * rel(i, v);
    minX = std::min(minX, x_[i]);
    maxX = std::max(maxX, x_[i]);
    minY = std::min(minY, y_[i]);
    maxY = std::max(maxY, y_[i]);
  }
  // Room for rounding when the grid is searched, so that no cell that a triangle touches is
  // missed; the corner tests themselves take no such room.
  slack_ = 1e-9 * ((maxX - minX) + (maxY - minY));
}

double EarClipper::turn(std::uint32_t a, std::uint32_t b, std::uint32_t c) const {
  return (x_[b] - x_[a]) * (y_[c] - y_[a]) - (y_[b] - y_[a]) * (x_[c] - x_[a]);
}

// The triangle a, b, c winds counter-clockwise; its edges count as inside.
bool EarClipper::inTriangle(std::uint32_t q, std::uint32_t a, std::uint32_t b, std::uint32_t c) const {
  return turn(a, b, q) >= 0 && turn(b, c, q) >= 0 && turn(c, a, q) >= 0;
}

void EarClipper::buildGrid(std::uint32_t n) {
  std::uint32_t count = 0;
  double minX = 0, maxX = 0, minY = 0, maxY = 0;
  for (std::uint32_t i = 0; i < n; ++i) {
    inGrid_[i] = !convex_[i];
    if (convex_[i]) continue;
    if (count == 0) {
      minX = maxX = x_[i];
      minY = maxY = y_[i];
    } else {
      minX = std::min(minX, x_[i]);
      maxX = std::max(maxX, x_[i]);
      minY = std::min(minY, y_[i]);
      maxY = std::max(maxY, y_[i]);
    }
    ++count;
  }
  const double w = maxX - minX;
  const double h = maxY - minY;
  const double target = std::max<double>(1, count);
  if (w > 0 && h > 0) {
    gridW_ = static_cast<int>(std::clamp(std::round(std::sqrt(target * w / h)), 1.0, double(kMaxGridSide)));
    gridH_ = static_cast<int>(std::clamp(std::ceil(target / gridW_), 1.0, double(kMaxGridSide)));
  } else {
    gridW_ = w > 0 ? static_cast<int>(std::min<double>(target, kMaxGridSide)) : 1;
    gridH_ = h > 0 ? static_cast<int>(std::min<double>(target, kMaxGridSide)) : 1;
  }
  gridX0_ = minX;
  gridY0_ = minY;
  cellW_ = w > 0 ? w / gridW_ : 1.0;
  cellH_ = h > 0 ? h / gridH_ : 1.0;

  const std::size_t cells = static_cast<std::size_t>(gridW_) * gridH_;
  cellStart_.assign(cells + 1, 0);
  for (std::uint32_t i = 0; i < n; ++i) {
    if (inGrid_[i]) ++cellStart_[static_cast<std::size_t>(row(y_[i])) * gridW_ + column(x_[i]) + 1];
  }
  for (std::size_t c = 0; c < cells; ++c) cellStart_[c + 1] += cellStart_[c];
  cellItems_.resize(count);
  std::vector<std::uint32_t>& fill = entryCorner_;  // free until the first ear test
  fill.assign(cellStart_.begin(), cellStart_.end() - 1);
  for (std::uint32_t i = 0; i < n; ++i) {
    if (inGrid_[i]) cellItems_[fill[static_cast<std::size_t>(row(y_[i])) * gridW_ + column(x_[i])]++] = i;
  }
  fill.clear();
}

int EarClipper::column(double x) const {
  const double t = std::floor((x - gridX0_) / cellW_);
  if (!(t > 0)) return 0;
  return t >= gridW_ ? gridW_ - 1 : static_cast<int>(t);
}

int EarClipper::row(double y) const {
  const double t = std::floor((y - gridY0_) / cellH_);
  if (!(t > 0)) return 0;
  return t >= gridH_ ? gridH_ - 1 : static_cast<int>(t);
}

// The first remaining corner, not strictly convex, that lies in v's triangle, or kNone.
std::uint32_t EarClipper::findBlocker(std::uint32_t v) const {
  const std::uint32_t a = prev_[v];
  const std::uint32_t c = next_[v];
  auto blocks = [&](std::uint32_t q) {
    return !removed_[q] && !convex_[q] && q != a && q != v && q != c && inTriangle(q, a, v, c);
  };
  for (std::uint32_t q : lateReflex_) {
    if (blocks(q)) return q;
  }
  if (cellItems_.empty()) return kNone;

  const std::uint32_t corner[3] = {a, v, c};
  double minY = y_[a], maxY = y_[a];
  for (std::uint32_t k : corner) {
    minY = std::min(minY, y_[k]);
    maxY = std::max(maxY, y_[k]);
  }
  const int firstRow = row(minY - slack_);
  const int lastRow = row(maxY + slack_);
  for (int r = firstRow; r <= lastRow; ++r) {
    // The part of the triangle within this row's band, from where its edges cross the band.
    const double bandLow = gridY0_ + r * cellH_ - slack_;
    const double bandHigh = gridY0_ + (r + 1) * cellH_ + slack_;
    double left = 0, right = 0;
    bool any = false;
    for (int e = 0; e < 3; ++e) {
      const std::uint32_t p = corner[e];
      const std::uint32_t q = corner[(e + 1) % 3];
      const double low = std::max(bandLow, std::min(y_[p], y_[q]));
      const double high = std::min(bandHigh, std::max(y_[p], y_[q]));
      if (low > high) continue;
      const double edgeLeft = std::min(x_[p], x_[q]);
      const double edgeRight = std::max(x_[p], x_[q]);
      double x1 = edgeLeft, x2 = edgeRight;
      if (y_[p] != y_[q]) {
        const double slope = (x_[q] - x_[p]) / (y_[q] - y_[p]);
        x1 = std::clamp(x_[p] + (low - y_[p]) * slope, edgeLeft, edgeRight);
        x2 = std::clamp(x_[p] + (high - y_[p]) * slope, edgeLeft, edgeRight);
        if (x1 > x2) std::swap(x1, x2);
      }
      left = any ? std::min(left, x1) : x1;
      right = any ? std::max(right, x2) : x2;
      any = true;
    }
    if (!any) continue;
    const int firstColumn = column(left - slack_);
    const int lastColumn = column(right + slack_);
    const std::size_t base = static_cast<std::size_t>(r) * gridW_;
    for (std::uint32_t k = cellStart_[base + firstColumn]; k < cellStart_[base + lastColumn + 1]; ++k) {
      if (blocks(cellItems_[k])) return cellItems_[k];
    }
  }
  return kNone;
}

void EarClipper::pushCandidate(std::uint32_t v) {
  if (inHeap_[v]) return;
  inHeap_[v] = 1;
  heap_.push_back(v);
  std::push_heap(heap_.begin(), heap_.end(), std::greater<std::uint32_t>());
}

void EarClipper::recordBlocker(std::uint32_t v, std::uint32_t u) {
  blocker_[v] = u;
  entryCorner_.push_back(v);
  entryNext_.push_back(blockedHead_[u]);
  blockedHead_[u] = static_cast<std::uint32_t>(entryCorner_.size() - 1);
}

// u has just turned convex: the corners that it was found to block become candidates again.
void EarClipper::wakeBlocked(std::uint32_t u) {
  std::uint32_t entry = blockedHead_[u];
  blockedHead_[u] = kNone;
  for (; entry != kNone; entry = entryNext_[entry]) {
    const std::uint32_t w = entryCorner_[entry];
    if (!removed_[w] && blocker_[w] == u) {
      blocker_[w] = kNone;
      pushCandidate(w);
    }
  }
}

void EarClipper::emit(std::uint32_t a, std::uint32_t b, std::uint32_t c, std::vector<std::uint32_t>& out) const {
  if (a > b) std::swap(a, b);
  if (b > c) std::swap(b, c);
  if (a > b) std::swap(a, b);
  out.insert(out.end(), {a, b, c});
}

void EarClipper::cut(const std::vector<Vertex>& corners, std::vector<std::uint32_t>& out) {
  const std::uint32_t n = static_cast<std::uint32_t>(corners.size());
  if (n < 3) return;
  if (n == 3) {
    out.insert(out.end(), {0u, 1u, 2u});
    return;
  }
  project(corners);

  prev_.resize(n);
  next_.resize(n);
  for (std::uint32_t i = 0; i < n; ++i) {
    prev_[i] = i == 0 ? n - 1 : i - 1;
    next_[i] = i + 1 == n ? 0 : i + 1;
  }
  std::uint32_t head = 0;  // the lowest remaining index
  std::uint32_t remaining = n;

  if (n > 4) {
    convex_.resize(n);
    for (std::uint32_t i = 0; i < n; ++i) convex_[i] = turn(prev_[i], i, next_[i]) > 0;
    removed_.assign(n, 0);
    inGrid_.resize(n);
    blocker_.assign(n, kNone);
    blockedHead_.assign(n, kNone);
    entryCorner_.clear();
    entryNext_.clear();
    lateReflex_.clear();
    buildGrid(n);
    // Every corner starts as a candidate; in ascending order the list is already a heap.
    heap_.resize(n);
    for (std::uint32_t i = 0; i < n; ++i) heap_[i] = i;
    inHeap_.assign(n, 1);

    auto recheckConvexity = [&](std::uint32_t u) {
      const bool was = convex_[u];
      convex_[u] = turn(prev_[u], u, next_[u]) > 0;
      if (was && !convex_[u] && !inGrid_[u]) {
        inGrid_[u] = 1;
        lateReflex_.push_back(u);
      }
      return !was && convex_[u];
    };

    // Candidates are tested when they come up, lowest index first: every corner that may be
    // an ear is among them (a corner leaves them only when it is reflex or blocked, and comes
    // back when a neighbour is cut off or its blocker turns convex).
    while (remaining > 4) {
      if (heap_.empty()) return;  // no ear left: keep what was cut
      std::pop_heap(heap_.begin(), heap_.end(), std::greater<std::uint32_t>());
      const std::uint32_t v = heap_.back();
      heap_.pop_back();
      inHeap_[v] = 0;
      if (removed_[v] || !convex_[v]) continue;
      const std::uint32_t u = findBlocker(v);
      if (u != kNone) {
        recordBlocker(v, u);
        continue;
      }

      const std::uint32_t a = prev_[v];
      const std::uint32_t c = next_[v];
      emit(a, v, c, out);
      removed_[v] = 1;
      next_[a] = c;
      prev_[c] = a;
      --remaining;
      if (head == v) head = c;

      if (recheckConvexity(a)) wakeBlocked(a);
      if (recheckConvexity(c)) wakeBlocked(c);
      blocker_[a] = blocker_[c] = kNone;
      pushCandidate(a);
      pushCandidate(c);
    }
  }

  // Four corners: the fixed diagonal, unless it runs outside the quadrilateral, or makes a
  // triangle of no area where the other one would make two proper ones.
  const std::uint32_t r0 = head;
  const std::uint32_t r1 = next_[r0];
  const std::uint32_t r2 = next_[r1];
  const std::uint32_t r3 = next_[r2];
  const double t0 = turn(r3, r0, r1);
  const double t2 = turn(r1, r2, r3);
  const bool otherIsProper = turn(r0, r1, r2) > 0 && turn(r2, r3, r0) > 0;
  if (t0 < 0 || t2 < 0 || ((t0 == 0 || t2 == 0) && otherIsProper)) {
    emit(r0, r1, r2, out);
    emit(r0, r2, r3, out);
  } else {
    emit(r0, r3, r1, out);
    emit(r3, r1, r2, out);
  }
}

}  // namespace objl
