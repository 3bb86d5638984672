#include "depth/guided_filter.h"

#include <algorithm>
#include <array>
#include <vector>

namespace depth {

namespace {

// Rows whose running sums advance together: each sum's next addition waits for the
// one before, and four independent sums keep the processor's adders busy meanwhile.
constexpr int kRowsTogether = 4;

// 1 / the number of values in each window along a line of `length`.
std::vector<double> InverseCounts(int length, int radius) {
    std::vector<double> inverse(static_cast<std::size_t>(std::max(length, 0)));
    for (int i = 0; i < length; ++i) {
        const int count = std::min(i + radius, length - 1) - std::max(i - radius, 0) + 1;
        inverse[static_cast<std::size_t>(i)] = 1.0 / count;
    }
    return inverse;
}

// Running sums along rows, in double so that adding and taking off values over a
// long row leaves no drift.
void BoxMeanRows(const std::array<const float*, kRowsTogether>& in,
                 const std::array<float*, kRowsTogether>& out, int width, int radius,
                 const std::vector<double>& inverse) {
    std::array<double, kRowsTogether> sums{};
    for (int x = 0; x < std::min(radius, width); ++x)
        for (int k = 0; k < kRowsTogether; ++k) sums[k] += in[k][x];
    for (int x = 0; x < width; ++x) {
        const int enters = x + radius;
        const int leaves = x - radius - 1;
        for (int k = 0; k < kRowsTogether; ++k) {
            double change = enters < width ? in[k][enters] : 0.0;
            if (leaves >= 0) change -= in[k][leaves];
            sums[k] += change;
            out[k][x] = static_cast<float>(sums[k] * inverse[static_cast<std::size_t>(x)]);
        }
    }
}

// Column sums kept for a whole row at once, so that the vertical pass also walks
// contiguous rows.
void AddRow(std::vector<double>& sums, std::span<const float> row, double sign) {
    for (std::size_t x = 0; x < sums.size(); ++x) sums[x] += sign * row[x];
}

FloatPlane Product(const FloatPlane& p, const FloatPlane& q) {
    FloatPlane out(p.Width(), p.Height());
    const auto a = p.Values();
    const auto b = q.Values();
    auto o = out.Values();
    for (std::size_t i = 0; i < o.size(); ++i) o[i] = a[i] * b[i];
    return out;
}

}  // namespace

FloatPlane BoxMean(const FloatPlane& plane, int radius) {
    const int width = plane.Width();
    const int height = plane.Height();
    radius = std::max(radius, 0);
    FloatPlane across(width, height);
    const std::vector<double> along_rows = InverseCounts(width, radius);
    std::vector<float> spare(static_cast<std::size_t>(width));  // for rows past the last
    for (int y0 = 0; y0 < height; y0 += kRowsTogether) {
        std::array<const float*, kRowsTogether> in{};
        std::array<float*, kRowsTogether> out{};
        for (int k = 0; k < kRowsTogether; ++k) {
            const bool inside = y0 + k < height;
            in[static_cast<std::size_t>(k)] = inside ? plane.Row(y0 + k).data() : spare.data();
            out[static_cast<std::size_t>(k)] = inside ? across.Row(y0 + k).data() : spare.data();
        }
        BoxMeanRows(in, out, width, radius, along_rows);
    }

    FloatPlane out(width, height);
    const std::vector<double> down_columns = InverseCounts(height, radius);
    std::vector<double> sums(static_cast<std::size_t>(width), 0.0);
    for (int y = 0; y < std::min(radius, height); ++y) AddRow(sums, across.Row(y), 1.0);
    for (int y = 0; y < height; ++y) {
        if (y + radius < height) AddRow(sums, across.Row(y + radius), 1.0);
        if (y - radius - 1 >= 0) AddRow(sums, across.Row(y - radius - 1), -1.0);
        const double inverse = down_columns[static_cast<std::size_t>(y)];
        auto row = out.Row(y);
        for (std::size_t x = 0; x < row.size(); ++x) row[x] = static_cast<float>(sums[x] * inverse);
    }
    return out;
}

GuidedCoefficients GuidedFilterCoefficients(const FloatPlane& guide, const FloatPlane& input,
                                            int radius, float eps) {
    const FloatPlane mean_i = BoxMean(guide, radius);
    const FloatPlane mean_p = BoxMean(input, radius);
    const FloatPlane mean_ii = BoxMean(Product(guide, guide), radius);
    const FloatPlane mean_ip = BoxMean(Product(guide, input), radius);

    FloatPlane a(guide.Width(), guide.Height());
    FloatPlane b(guide.Width(), guide.Height());
    const auto mi = mean_i.Values();
    const auto mp = mean_p.Values();
    const auto mii = mean_ii.Values();
    const auto mip = mean_ip.Values();
    auto av = a.Values();
    auto bv = b.Values();
    for (std::size_t k = 0; k < av.size(); ++k) {
        const float variance = std::max(mii[k] - mi[k] * mi[k], 0.0f);
        const float covariance = mip[k] - mi[k] * mp[k];
        av[k] = covariance / (variance + eps);
        bv[k] = mp[k] - av[k] * mi[k];
    }
    return {BoxMean(a, radius), BoxMean(b, radius)};
}

FloatPlane GuidedFilter(const FloatPlane& guide, const FloatPlane& input, int radius, float eps) {
    const GuidedCoefficients c = GuidedFilterCoefficients(guide, input, radius, eps);
    FloatPlane out(guide.Width(), guide.Height());
    const auto g = guide.Values();
    const auto a = c.a.Values();
    const auto b = c.b.Values();
    auto o = out.Values();
    for (std::size_t k = 0; k < o.size(); ++k) o[k] = a[k] * g[k] + b[k];
    return out;
}

}  // namespace depth
