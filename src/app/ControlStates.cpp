#include "app/ControlStates.h"

namespace lumetra {

ImagePageStates ControlStatesFor(int s, int n, bool firstSelected, bool lastSelected,
                                 bool startWithDesert) {
    ImagePageStates st{};
    st.removeEnabled = s > 0;
    st.addHintVisible = n == 0;
    st.upEnabled = s > 0 && !firstSelected;
    st.downEnabled = s > 0 && !lastSelected;
    st.selectAllEnabled = s < n;
    st.fieldsEnabled = s > 0;
    st.effectInfoVisible = s > 0 && n >= 2 && s < n;
    st.durationAndDemo = s > 0;
    st.resetFields = s == 0;
    const char* picture = startWithDesert ? "desert" : "beach";
    st.stillPicture = std::string(picture) + (s > 0 ? ".jpg" : "_gray.jpg");
    return st;
}

}  // namespace lumetra
