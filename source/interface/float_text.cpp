#include "interface/float_text.h"

#include <sstream>

std::string FloatToString(float value) {
    std::ostringstream out;
    out << value;
    return out.str();
}
