#pragma once
// Where the about box's controls go, as a plain function of the client rectangle: the version
// line at the top, the two label/link pairs around the middle, the credits at the bottom.

#include "gui/widgets/dialog_geometry.h"

namespace lexora {

struct AboutLayout {
  ControlRect versionLine;
  ControlRect homePageLabel;
  ControlRect homePageLink;
  ControlRect supportLabel;
  ControlRect supportLink;
  ControlRect credits;
};

// Widths that would come out negative in a tiny client area are 0.
AboutLayout layoutAboutBox(const ClientRect& client);

}  // namespace lexora
