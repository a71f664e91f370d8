#pragma once
// The enabled and visible states of the image page, from the list's
// selection alone (SetControlStates without the widgets).

#include <string>

namespace lumetra {

struct ImagePageStates {
    bool removeEnabled;        // btnRemove
    bool addHintVisible;       // panAddHint
    bool upEnabled;            // btnUp
    bool downEnabled;          // btnDown
    bool selectAllEnabled;     // btnSelAll
    bool fieldsEnabled;        // the property fields and headings
    bool effectInfoVisible;    // imgEffectInfo
    bool durationAndDemo;      // txtDuration, btnPlayDemo
    bool resetFields;          // nothing selected: preview cleared, duration 5, effect 0, no title
    std::string stillPicture;  // data/gui file of the demonstration's still picture
};

// selected = S, rows = N; firstSelected/lastSelected tell whether row 0 and
// row N-1 are selected; startWithDesert is the demonstration's toggle.
ImagePageStates ControlStatesFor(int selected, int rows, bool firstSelected, bool lastSelected,
                                 bool startWithDesert);

}  // namespace lumetra
