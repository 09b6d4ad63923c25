// How the surface is looked at: two rotation angles, a scale and the kind of projection, and
// the projection of box coordinates to a W x H canvas that follows from them.
#pragma once

#include <array>
#include <cmath>
#include <span>
#include <vector>

namespace kq {

// A point in box coordinates: x and y in [-1, 1], z in [-kBoxHalfHeight, kBoxHalfHeight].
struct BoxPoint {
    double x = 0, y = 0, z = 0;
};

// A projected point: canvas pixels (y down) and the distance from the eye, larger farther.
struct ScreenPoint {
    double x = 0, y = 0, depth = 0;
};

inline constexpr double kBoxHalfHeight = 0.7;

// The projection for one canvas size, computed once and applied to every point.
class Projector {
public:
    Projector(double tilt, double spin, double divisor, bool perspective, int width, int height);

    ScreenPoint operator()(const BoxPoint& p) const {
        const double u = r_[0] * p.x + r_[1] * p.y + r_[2] * p.z;
        const double v = r_[3] * p.x + r_[4] * p.y + r_[5] * p.z;
        const double d = r_[6] * p.x + r_[7] * p.y + r_[8] * p.z;  // along the line of sight
        const double k = perspective_ ? scale_ * kEyeDistance / (kEyeDistance + d) : scale_;
        return {cx_ + u * k, cy_ - v * k, d};
    }

    // In perspective the eye's position; in parallel projection, where the eye is infinitely
    // far, the direction toward it.
    BoxPoint Eye() const {
        const double k = perspective_ ? kEyeDistance : 1;
        return {-k * r_[6], -k * r_[7], -k * r_[8]};
    }
    bool Perspective() const { return perspective_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    // Canvas pixels per box unit at the centre of the box.
    double PixelsPerUnit() const { return scale_; }

    // The same projection as a column-major 4 x 4 matrix for OpenGL: clip coordinates whose
    // x and y give the same pixels and whose depth grows with the distance.
    std::array<float, 16> ClipMatrix() const;

    // Whether a face with the outward normal `normal` through the point `at` turns its inside
    // to the eye (it is one of the box's far faces).
    bool ShowsInside(const BoxPoint& normal, const BoxPoint& at) const;

    // The eye's distance from the box centre in perspective, in box units; farther than any
    // corner of the box, so nothing is ever behind the eye.
    static constexpr double kEyeDistance = 5.0;
    // Farther than every point of the box from its centre.
    static constexpr double kBoxRadius = 1.6;

private:
    std::array<double, 9> r_{};  // rows: screen right, screen up, away from the eye
    double scale_ = 1, cx_ = 0, cy_ = 0;
    int width_ = 1, height_ = 1;
    bool perspective_ = true;
};

class SurfaceView {
public:
    // Seen from a little above, turned so that all three axes show.
    static constexpr double kInitialTilt = 35;
    static constexpr double kInitialSpin = -35;
    // Larger divisor, smaller picture.
    static constexpr double kInitialDivisor = 2.0;
    static constexpr double kMinDivisor = 0.25;
    static constexpr double kMaxDivisor = 40;

    // Tilt: about the screen's horizontal axis (positive looks from above). Spin: about the
    // surface's vertical axis. Both in degrees, kept in (-180, 180].
    double Tilt() const { return tilt_; }
    double Spin() const { return spin_; }
    double Divisor() const { return divisor_; }
    bool Perspective() const { return perspective_; }

    void SetAngles(double tilt, double spin);
    void Turn(double dTilt, double dSpin) { SetAngles(tilt_ + dTilt, spin_ + dSpin); }
    // Clamped to [kMinDivisor, kMaxDivisor]; non-finite values are ignored.
    void SetDivisor(double divisor);
    // factor > 1 makes the picture smaller.
    void Zoom(double factor) { SetDivisor(divisor_ * factor); }
    void SetPerspective(bool on) { perspective_ = on; }
    // Angles, scale and projection as at start.
    void Reset();

    Projector For(int width, int height) const { return {tilt_, spin_, divisor_, perspective_, width, height}; }

    friend bool operator==(const SurfaceView&, const SurfaceView&) = default;

private:
    double tilt_ = kInitialTilt, spin_ = kInitialSpin, divisor_ = kInitialDivisor;
    bool perspective_ = true;
};

// Every point projected, into `out` (resized; its storage is reused between frames).
void ProjectAll(const Projector& projector, std::span<const BoxPoint> points, std::vector<ScreenPoint>& out);

// An angle in degrees brought into (-180, 180].
double NormalizeDegrees(double degrees);

}  // namespace kq
