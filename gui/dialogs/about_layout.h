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

// How much room the texts of the label/link pairs take in the dialog's fonts.
struct AboutTextSizes {
  int labelWidth = 70;  // the wider of "Home page:" and "Support:"
  int homePageLinkWidth = 150;
  int supportLinkWidth = 150;
  int lineHeight = 15;
};

// The pairs stand as one block around the middle, the labels as wide as their text and each
// link as wide as its text, narrowed to the client area (a narrowed link wraps onto more lines), so
// that no text is cut. Widths that would come out negative in a tiny client area are 0.
AboutLayout layoutAboutBox(const ClientRect& client, const AboutTextSizes& texts = {});

}  // namespace lexora
