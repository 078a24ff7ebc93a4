#include "pictures/fitting.h"

#include "base/values.h"
#include "pictures/thumbnail_size.h"

#include <algorithm>

namespace fitting {

QRect fitRect(QSize picture, QSize area) {
    if (picture.width() <= 0 || picture.height() <= 0 || area.width() <= 0 || area.height() <= 0)
        return QRect();
    const double w = picture.width(), h = picture.height();
    const double a = area.width(), b = area.height();
    const double f = std::min(a / w, b / h);
    return QRect(toInt((a - w * f) / 2), toInt((b - h * f) / 2), toInt(w * f), toInt(h * f));
}

bool covers(QSize image, QSize picture, QSize area) {
    return thumbnail_size::sameProportions(image, picture) &&
           thumbnail_size::covers(image, picture, fitRect(picture, area).size());
}

} // namespace fitting
