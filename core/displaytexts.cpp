#include "core/displaytexts.h"

#include "core/conversions.h"
#include "core/numbertext.h"

namespace tonfang {

std::optional<Model> modelFromTag(std::string_view tag)
{
    static constexpr std::pair<std::string_view, Model> tags[] = {
        {"HEX", Model::Hex}, {"TCOL", Model::TColor}, {"RGB", Model::Rgb},
        {"PROZENT", Model::Percent}, {"HSV", Model::Hsv}, {"CMY", Model::Cmy},
        {"CMYK", Model::Cmyk}, {"XYZ", Model::Xyz}, {"xyz", Model::Chromaticity},
    };
    for (const auto &[name, model] : tags)
        if (name == tag)
            return model;
    return std::nullopt;
}

Model modelOf(Field field)
{
    switch (field) {
    case Field::Hex: return Model::Hex;
    case Field::TColor: return Model::TColor;
    case Field::Red: case Field::Green: case Field::Blue: return Model::Rgb;
    case Field::PercentRed: case Field::PercentGreen: case Field::PercentBlue: return Model::Percent;
    case Field::HsvH: case Field::HsvS: case Field::HsvV: return Model::Hsv;
    case Field::Cyan: case Field::Magenta: case Field::Yellow: return Model::Cmy;
    case Field::CmykC: case Field::CmykM: case Field::CmykY: case Field::CmykK: return Model::Cmyk;
    case Field::X: case Field::Y: case Field::Z: return Model::Xyz;
    case Field::ChromaX: case Field::ChromaY: case Field::ChromaZ: return Model::Chromaticity;
    }
    return Model::Hex;
}

DisplayTexts displayTexts(Rgb rgb, int places, std::string_view decimalSeparator)
{
    // Products and quotients are formed in long double from the stored doubles
    // and go to the format as they are, without being stored again.
    using Extended = long double;
    DisplayTexts texts;
    const auto put = [&texts](Field field, std::string text) {
        texts[static_cast<std::size_t>(field)] = std::move(text);
    };
    const auto number = [&](Extended value) {
        return formatDisplayNumber(value, places, decimalSeparator);
    };

    const ColourNumber colour = RGBToTColor(rgb);
    put(Field::Hex, "#" + TColorToHex(colour));
    put(Field::TColor, integerText(colour));

    put(Field::Red, integerText(rgb.red));
    put(Field::Green, integerText(rgb.green));
    put(Field::Blue, integerText(rgb.blue));

    put(Field::PercentRed, number(rgb.red / 255.0L * 100));
    put(Field::PercentGreen, number(rgb.green / 255.0L * 100));
    put(Field::PercentBlue, number(rgb.blue / 255.0L * 100));

    const Hsv hsv = RGBToHSV(rgb);
    put(Field::HsvH, number(static_cast<Extended>(hsv.h) * 360));
    put(Field::HsvS, number(static_cast<Extended>(hsv.s) * 100));
    put(Field::HsvV, number(static_cast<Extended>(hsv.v) * 100));

    const Cmy cmy = RGBtoCMY(rgb);
    put(Field::Cyan, number(static_cast<Extended>(cmy.c) * 100));
    put(Field::Magenta, number(static_cast<Extended>(cmy.m) * 100));
    put(Field::Yellow, number(static_cast<Extended>(cmy.y) * 100));

    const Cmyk cmyk = CMYtoCMYK(cmy);
    put(Field::CmykC, number(static_cast<Extended>(cmyk.c) * 100));
    put(Field::CmykM, number(static_cast<Extended>(cmyk.m) * 100));
    put(Field::CmykY, number(static_cast<Extended>(cmyk.y) * 100));
    put(Field::CmykK, number(static_cast<Extended>(cmyk.k) * 100));

    const Xyz xyz = RGBtoXYZ(rgb);
    put(Field::X, number(xyz.X));
    put(Field::Y, number(xyz.Y));
    put(Field::Z, number(xyz.Z));

    const double sum = static_cast<Extended>(xyz.X) + xyz.Y + xyz.Z;
    if (sum != 0) {
        put(Field::ChromaX, number(xyz.X / static_cast<Extended>(sum)));
        put(Field::ChromaY, number(xyz.Y / static_cast<Extended>(sum)));
        put(Field::ChromaZ, number(xyz.Z / static_cast<Extended>(sum)));
    } else {
        put(Field::ChromaX, "0");
        put(Field::ChromaY, "0");
        put(Field::ChromaZ, "0");
    }
    return texts;
}

} // namespace tonfang
