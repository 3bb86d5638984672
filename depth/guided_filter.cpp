#include "depth/guided_filter.h"

#include <algorithm>
#include <vector>

namespace depth {

namespace {

// Running sums along one row, in double so that adding and taking off values over a
// long row leaves no drift.
void BoxMeanRow(std::span<const float> in, std::span<float> out, int radius) {
    const int width = static_cast<int>(in.size());
    double sum = 0.0;
    for (int x = 0; x < std::min(radius, width); ++x) sum += in[static_cast<std::size_t>(x)];
    for (int x = 0; x < width; ++x) {
        if (x + radius < width) sum += in[static_cast<std::size_t>(x + radius)];
        if (x - radius - 1 >= 0) sum -= in[static_cast<std::size_t>(x - radius - 1)];
        const int count = std::min(x + radius, width - 1) - std::max(x - radius, 0) + 1;
        out[static_cast<std::size_t>(x)] = static_cast<float>(sum / count);
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
    for (int y = 0; y < height; ++y) BoxMeanRow(plane.Row(y), across.Row(y), radius);

    FloatPlane out(width, height);
    std::vector<double> sums(static_cast<std::size_t>(width), 0.0);
    for (int y = 0; y < std::min(radius, height); ++y) AddRow(sums, across.Row(y), 1.0);
    for (int y = 0; y < height; ++y) {
        if (y + radius < height) AddRow(sums, across.Row(y + radius), 1.0);
        if (y - radius - 1 >= 0) AddRow(sums, across.Row(y - radius - 1), -1.0);
        const double count = std::min(y + radius, height - 1) - std::max(y - radius, 0) + 1;
        auto row = out.Row(y);
        for (std::size_t x = 0; x < row.size(); ++x) row[x] = static_cast<float>(sums[x] / count);
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
