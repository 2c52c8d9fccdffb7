// Writes the kit's default price list and stock list: one line for every article designation
// that the kind catalogue gives with the fourteen default materials and the sizes that the part
// tools place, in the neutral language of the list files, with an order number and a unit price
// (price list) or the count of the starter set (stock list; 0 for the articles it lacks).
//
// The designations are made the way the program makes them (an element of each kind and size,
// its article designation, translated to the neutral language), so the lists match what the
// program counts. Regenerate data/ after changing prices, sizes or designation texts:
//
//   cmake --build build --target zarnel_listgen
//   build/tools/listgen/zarnel_listgen data/prices.zpl data/stock.zbl
#include <algorithm>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "model/ArticleDesignation.h"
#include "model/Elmnt.h"
#include "model/ListFile.h"
#include "model/Mtrl.h"
#include "resources/ZarnelResources.h"
#include "support/File.h"
#include "support/FileWrite.h"
#include "support/Resources.h"

namespace {

// One article shape: a kind with the arms and sizes (mm) that make one designation text.
struct SShape {
    ElmntKind kind;
    uint32_t arms;     // occupied arms of couplings designated by them
    float length;      // mm
    float secondSize;  // mm
    double basePrice;  // euro for the plain colours
    double pricePerCm; // euro per cm of length, or per 100 cm² of a panel
};

// Couplings: one arm mask per designated class. Hole couplings get the tool masks OR 3.
// Panels: length is the tool's panel height, second size its panel width.
const std::vector<SShape> Shapes = {
    {ElmntKind::Tube, 0, 100.0f, 0, 0.90, 0.055},
    {ElmntKind::Tube, 0, 150.0f, 0, 0.90, 0.055},
    {ElmntKind::Tube, 0, 250.0f, 0, 0.90, 0.055},
    {ElmntKind::Tube, 0, 350.0f, 0, 0.90, 0.055},
    {ElmntKind::Tube, 0, 750.0f, 0, 0.90, 0.055},
    {ElmntKind::RoundTube, 0, 350.0f, 0, 6.90, 0},
    {ElmntKind::Connector, 63, 0, 0, 4.90, 0},
    {ElmntKind::Connector, 31, 0, 0, 4.50, 0},
    {ElmntKind::Connector, 23, 0, 0, 3.90, 0},
    {ElmntKind::Connector, 21, 0, 0, 3.20, 0},
    {ElmntKind::Connector, 15, 0, 0, 3.60, 0},
    {ElmntKind::Connector, 7, 0, 0, 2.90, 0},
    {ElmntKind::Connector, 5, 0, 0, 2.40, 0},
    {ElmntKind::Connector, 3, 0, 0, 2.10, 0},
    {ElmntKind::Connector45, 0, 0, 0, 3.80, 0},
    {ElmntKind::HoleConnector, 59, 0, 0, 5.20, 0},
    {ElmntKind::HoleConnector, 15, 0, 0, 4.60, 0},
    {ElmntKind::HoleConnector, 11, 0, 0, 3.90, 0},
    {ElmntKind::BearingConnector, 0, 0, 0, 4.40, 0},
    {ElmntKind::FlexiConnector, 0, 0, 0, 3.60, 0},
    {ElmntKind::Bolt, 0, 50.0f, 0, 0.70, 0.08},
    {ElmntKind::Bolt, 0, 150.0f, 0, 0.70, 0.08},
    {ElmntKind::Panel, 0, 250.0f, 250.0f, 2.00, 0.80},
    {ElmntKind::Panel, 0, 350.0f, 350.0f, 2.00, 0.80},
    {ElmntKind::Panel, 0, 150.0f, 350.0f, 2.00, 0.80},
    {ElmntKind::Panel, 0, 350.0f, 150.0f, 2.00, 0.80},
    {ElmntKind::ChairSeatBack, 0, 150.0f, 250.0f, 4.50, 0.90},
    {ElmntKind::Display, 0, 350.0f, 350.0f, 3.00, 1.00},
    {ElmntKind::Wood, 0, 350.0f, 350.0f, 4.00, 1.40},
    {ElmntKind::Wood, 0, 350.0f, 750.0f, 4.00, 1.40},
    {ElmntKind::WoodKnob, 0, 350.0f, 350.0f, 6.50, 1.40},
    {ElmntKind::WoodKnob, 0, 350.0f, 750.0f, 6.50, 1.40},
    {ElmntKind::RoundWood, 0, 350.0f, 350.0f, 5.00, 1.20},
    {ElmntKind::Lattice, 0, 450.0f, 450.0f, 6.00, 0.90},
    {ElmntKind::WoodBed, 0, 350.0f, 750.0f, 8.00, 1.10},
    {ElmntKind::Textil, 0, 350.0f, 750.0f, 24.90, 0},
    {ElmntKind::TextilRound, 0, 0, 0, 24.90, 0},
    {ElmntKind::Bag, 0, 0, 0, 19.90, 0},
    {ElmntKind::MultiWheel, 0, 0, 0, 12.50, 0},
    {ElmntKind::FloatingWheel, 0, 0, 0, 18.90, 0},
    {ElmntKind::Bearing, 0, 50.0f, 0, 3.30, 0},
    {ElmntKind::Casters, 0, 0, 0, 7.40, 0},
    {ElmntKind::SteeringLock, 0, 0, 0, 2.20, 0},
    {ElmntKind::HubCap, 0, 0, 0, 1.10, 0},
    {ElmntKind::TubeCap, 0, 0, 0, 0.45, 0},
    {ElmntKind::Adapter, 0, 0, 0, 2.80, 0},
    {ElmntKind::OpenConnector, 0, 0, 0, 0.00, 0},
    {ElmntKind::Clamp, 0, 0, 0, 1.90, 0},
    {ElmntKind::Clip, 0, 0, 0, 1.20, 0},
    {ElmntKind::Alu, 0, 600.0f, 0, 0.00, 0.12},
    {ElmntKind::Alu, 0, 800.0f, 0, 0.00, 0.12},
    {ElmntKind::AluConnector, 0, 400.0f, 0, 1.80, 0.04},
    {ElmntKind::Slide, 0, 0, 0, 89.00, 0},
    {ElmntKind::SlideNew, 0, 0, 0, 89.00, 0},
    {ElmntKind::CurvedSlide, 0, 0, 0, 129.00, 0},
    {ElmntKind::SlideEnd, 0, 0, 0, 34.50, 0},
    {ElmntKind::Pool, 0, 0, 0, 59.00, 0},
    {ElmntKind::PoolSmall, 0, 0, 0, 39.00, 0},
    {ElmntKind::Roof, 0, 0, 0, 45.00, 0},
    {ElmntKind::RoofLarge, 0, 0, 0, 69.00, 0},
};

// The starter set: German designations and counts; every other article has 0 in stock.
struct SStock {
    const char* designation;
    int count;
};
const std::vector<SStock> StarterSet = {
    {"Rohr, 35 cm, schwarz", 16},
    {"Rohr, 75 cm, schwarz", 8},
    {"Rohr, 15 cm, schwarz", 8},
    {"Gerade Kupplung, 2-armig, schwarz", 4},
    {"Flächenkupplung, 2-armig, schwarz", 8},
    {"Flächenkupplung, 3-armig, schwarz", 8},
    {"Flächenkupplung, 4-armig, schwarz", 4},
    {"Raumkupplung, 3-armig, schwarz", 8},
    {"Raumkupplung, 4-armig, schwarz", 4},
    {"Rohrkappe, schwarz", 8},
    {"Steckplatte, für 35 cm x 35 cm, rot", 4},
};

// Surcharge of the special surfaces over the plain colours.
double ColourFactor(const std::string& material) {
    if (material == "Spiegel") {
        return 1.2;
    }
    if (material == "Alu") {
        return 1.1;
    }
    return 1.0;
}

double Price(const SShape& shape, uint32_t id, const std::string& material) {
    double price = shape.basePrice;
    if (GetDesignationSizes(id) == DesignationSizes::Length) {
        price += shape.pricePerCm * shape.length * 0.1;
    } else if (GetDesignationSizes(id) == DesignationSizes::LengthSecond) {
        price += shape.pricePerCm * (shape.length * 0.1) * (shape.secondSize * 0.1) / 100.0;
    }
    return std::round(price * ColourFactor(material) * 100.0) / 100.0;
}

struct SLine {
    std::string german;
    std::string neutral;
    std::string orderNumber;
    double price;
};

bool WriteList(const std::string& path, const std::vector<std::string>& lines) {
    AtomicFile file;
    if (!file.Open(path)) {
        std::fprintf(stderr, "%s: %s\n", path.c_str(), file.LastError().c_str());
        return false;
    }
    CFileWrite writer;
    writer.Open(&file.GetFile(), 0, WriteFlags::CrLf);
    for (const std::string& line : lines) {
        writer.PutString(line);
        writer.PutChar('\n');
    }
    if (!writer.Close() || !file.Commit()) {
        std::fprintf(stderr, "%s: cannot be written\n", path.c_str());
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: zarnel_listgen <prices.zpl> <stock.zbl>\n");
        return 2;
    }
    // Sizes are whole centimetres, but the designations are made as the program makes them,
    // under the C library's locale: keep it the plain one.
    std::setlocale(LC_ALL, "C");
    SetResourceModule(&ZarnelResources());

    // The names of the default materials, each once, in slot order.
    std::vector<std::string> materials;
    for (int slot = 1; slot <= kDefaultMtrlCount; ++slot) {
        const std::string name = CMtrl::CreateDefault(slot)->GetName();
        if (std::find(materials.begin(), materials.end(), name) == materials.end()) {
            materials.push_back(name);
        }
    }

    const CTextTrns toNeutral = MakeListWriteTranslator();
    CElmntIdSource ids;
    std::vector<SLine> lines;
    std::set<std::string> seen;
    int article = 0;
    for (const SShape& shape : Shapes) {
        ++article;
        CElmnt elmnt(ids, 0, shape.kind, 1, shape.length, shape.secondSize);
        elmnt.SetOccupiedArms(shape.arms);
        const uint32_t id = GetDesignationId(elmnt);
        const bool coloured = DesignationTakesMaterial(id);
        for (std::size_t colour = 0; colour < (coloured ? materials.size() : 1); ++colour) {
            const std::string material = coloured ? materials[colour] : std::string();
            const std::string german = GetArticleName(elmnt, material);
            if (german.empty() || !seen.insert(german).second) {
                continue; // shapes that share a text (the two slides, the two textiles)
            }
            std::string neutral;
            if (!toNeutral.Translate(german, neutral)) {
                std::fprintf(stderr, "no neutral designation for %s\n", german.c_str());
                return 1;
            }
            char orderNumber[32];
            if (coloured) {
                std::snprintf(orderNumber, sizeof orderNumber, "ZK-%03d-%02d", article,
                              static_cast<int>(colour) + 1);
            } else {
                std::snprintf(orderNumber, sizeof orderNumber, "ZK-%03d", article);
            }
            lines.push_back({german, neutral, orderNumber, Price(shape, id, material)});
        }
    }

    std::vector<std::string> priceLines;
    std::vector<std::string> stockLines;
    for (const SLine& line : lines) {
        char price[32];
        std::snprintf(price, sizeof price, "%.2f", line.price);
        priceLines.push_back(line.neutral + ";" + line.orderNumber + ";" + price);
        int count = 0;
        for (const SStock& stock : StarterSet) {
            if (line.german == stock.designation) {
                count = stock.count;
            }
        }
        stockLines.push_back(line.neutral + ";" + std::to_string(count));
    }
    for (const SStock& stock : StarterSet) {
        if (!seen.contains(stock.designation)) {
            std::fprintf(stderr, "the starter set names an unknown article: %s\n",
                         stock.designation);
            return 1;
        }
    }
    return WriteList(argv[1], priceLines) && WriteList(argv[2], stockLines) ? 0 : 1;
}
