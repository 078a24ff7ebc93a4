#pragma once
// The fitting rule shared by the picture view, the thumbnails and the editor's preview:
// a picture is scaled by the smaller of the two ratios so that it fills the area in one
// direction, and is centred in the other.
#include <QRect>
#include <QSize>

namespace fitting {

// Where a picture of size `picture` lands inside an area of size `area` (area coordinates):
// scaled to fill the area in one direction, centred in the other, fractions dropped. A
// picture or an area without a positive width and height gives an empty rectangle (nothing
// is drawn).
QRect fitRect(QSize picture, QSize area);

// Whether a small version `image` of a picture of size `picture` (a camera's or the desktop's
// thumbnail) may be drawn in `area` instead of the decoded picture: it has the picture's
// proportions and needs no enlarging, being at least the picture's fitted size (or the whole
// picture, when that is smaller). It is drawn at fitRect(picture, area), so the place is the same.
bool covers(QSize image, QSize picture, QSize area);

} // namespace fitting
