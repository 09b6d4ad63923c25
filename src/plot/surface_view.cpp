#include "plot/surface_view.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace kq {
namespace {

// At divisor 1 the box's half width takes this share of the shorter canvas side.
constexpr double kFit = 0.56;

double Radians(double degrees) { return degrees * std::numbers::pi / 180; }

}  // namespace

double NormalizeDegrees(double degrees) {
    if (!std::isfinite(degrees)) return 0;
    double a = std::fmod(degrees, 360.0);  // exact
    if (a <= -180) a += 360;
    if (a > 180) a -= 360;
    return a;
}

Projector::Projector(double tilt, double spin, double divisor, bool perspective, int width, int height)
    : width_(std::max(width, 1)), height_(std::max(height, 1)), perspective_(perspective) {
    // Spin about the vertical axis first, then tilt the turned box toward the eye.
    const double s = Radians(spin), e = Radians(tilt);
    const double cs = std::cos(s), ss = std::sin(s), ce = std::cos(e), se = std::sin(e);
    r_ = {cs, -ss, 0, ss * se, cs * se, ce, ss * ce, cs * ce, -se};
    // The width counts for less: the box is wider than high, and its labels sit beside it.
    scale_ = kFit * std::min(0.85 * width_, 1.0 * height_) / divisor;
    cx_ = width_ / 2.0;
    cy_ = height_ / 2.0;
}

std::array<float, 16> Projector::ClipMatrix() const {
    // Rows of clip = M * (x, y, z, 1); stored column by column.
    double m[4][4] = {};
    const double sx = scale_ / cx_, sy = scale_ / cy_;
    if (perspective_) {
        // w = D + d divides x and y exactly as the canvas path does; z / w runs from -1 at the
        // nearest possible point (d = -R) to 1 at the farthest (d = R).
        const double d = kEyeDistance, r = kBoxRadius;
        for (int j = 0; j < 3; ++j) {
            m[0][j] = r_[j] * sx * d;
            m[1][j] = r_[3 + j] * sy * d;
            m[2][j] = r_[6 + j] * d / r;
            m[3][j] = r_[6 + j];
        }
        m[2][3] = r;
        m[3][3] = d;
    } else {
        for (int j = 0; j < 3; ++j) {
            m[0][j] = r_[j] * sx;
            m[1][j] = r_[3 + j] * sy;
            m[2][j] = r_[6 + j] / kBoxRadius;
        }
        m[3][3] = 1;
    }
    std::array<float, 16> out{};
    for (int col = 0; col < 4; ++col)
        for (int row = 0; row < 4; ++row) out[col * 4 + row] = static_cast<float>(m[row][col]);
    return out;
}

bool Projector::ShowsInside(const BoxPoint& n, const BoxPoint& at) const {
    const double along = n.x * r_[6] + n.y * r_[7] + n.z * r_[8];
    if (!perspective_) return along > 0;
    const BoxPoint eye = Eye();
    return n.x * (eye.x - at.x) + n.y * (eye.y - at.y) + n.z * (eye.z - at.z) < 0;
}

void ProjectAll(const Projector& projector, std::span<const BoxPoint> points, std::vector<ScreenPoint>& out) {
    out.resize(points.size());
    for (std::size_t k = 0; k < points.size(); ++k) out[k] = projector(points[k]);
}

void SurfaceView::SetAngles(double tilt, double spin) {
    tilt_ = NormalizeDegrees(tilt);
    spin_ = NormalizeDegrees(spin);
}

void SurfaceView::SetDivisor(double divisor) {
    if (!std::isfinite(divisor)) return;
    divisor_ = std::clamp(divisor, kMinDivisor, kMaxDivisor);
}

void SurfaceView::Reset() { *this = SurfaceView(); }

}  // namespace kq
