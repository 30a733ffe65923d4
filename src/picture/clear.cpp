// The clear view's composition: the strip chart and the mechanism on the left, the
// frequency chart, the regime map or a panel on the right.
#include "picture/clear.h"

namespace fv {

std::string shown(const State& s, const char* text) {
    return translate(s.console.catalog, text);
}

Scene clearPicture(const State& s) {
    Scene scene;
    addStripChart(&scene, s);
    if (s.view.panel == Panel::phasePlane) {
        addPhasePlane(&scene, s);
    } else if (s.view.panel == Panel::energy) {
        addEnergy(&scene, s);
    } else if (s.view.showRegimeMap) {
        addRegimeMap(&scene, s);
    } else {
        addFrequencyChart(&scene, s);
    }
    addMechanism(&scene, s);
    return scene;
}

Scene panelPicture(const State& s) {
    Scene scene;
    if (s.view.panel == Panel::none) {
        return scene;
    }
    addRect(&scene, {0.0, -1.0, 1.0, 1.0}, ink::white);
    if (s.view.panel == Panel::phasePlane) {
        addPhasePlane(&scene, s);
    } else {
        addEnergy(&scene, s);
    }
    return scene;
}

} // namespace fv
