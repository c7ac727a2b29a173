#pragma once

#include <fstream>
#include <iterator>
#include <optional>
#include <ostream>
#include <string>

#include "distributions/ModelParameter.h"
#include "document/ModelFile.h"
#include "engine/NumberText.h"
#include "support/ScriptedDialogs.h"

namespace corvanta::testing {

inline ModelParameter Quantity(std::string name, std::int32_t distrib, std::string valor = "",
                               std::string a = "", bool init = true) {
    ModelParameter p;
    p.Nombre = std::move(name);
    p.Distrib = distrib;
    p.Valor = std::move(valor);
    p.a = std::move(a);
    p.Init = init;
    return p;
}

inline ModelParameter Experimental(std::string name, std::string readings, std::string valor,
                                   std::string a, std::string b, std::string grados) {
    ModelParameter p = Quantity(std::move(name), 17, std::move(valor), std::move(a));
    p.Lecturas = std::move(readings);
    p.b = std::move(b);
    p.Grados = std::move(grados);
    return p;
}

inline std::string ReplaceAll(std::string text, const std::string& from, const std::string& to) {
    for (std::size_t at = text.find(from); at != std::string::npos;
         at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
    return text;
}

inline std::string FileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

inline const MessageTexts& BuiltInTexts() {
    static const MessageTexts texts = FormMessageTexts(CaptionTable::BuiltIn());
    return texts;
}

inline std::optional<OpenedModel> Open(const std::string& text, ScriptedDialogs& dialogs,
                                       const std::string& path = "/models/m.cvm") {
    return ApplyModelText(text, path, BuiltInTexts(), dialogs);
}

// Quantity record n as the file holds it: each field between its tags.
inline std::string RecordText(int n, const std::string& name, const std::string& distrib,
                              const std::string& valor = "0", const std::string& a = "1",
                              const std::string& sensib = "0") {
    const char* const tags[] = {"ParNombre", "ParUnidad",   "ParDesc",  "ParDistrib",
                                "ParValor",  "ParLecturas", "Par_a",    "Par_b",
                                "ParGrados", "ParInit",     "ParSensib"};
    const std::string values[] = {name, "", "", distrib, valor, "", a, "", "", "T", sensib};
    std::string text = "%Par" + std::to_string(n) + "%\r\n";
    for (int i = 0; i < 11; ++i)
        text += std::string("%") + tags[i] + "%\r\n" + values[i] + "\r\n%/" + tags[i] + "%\r\n";
    return text + "%/Par" + std::to_string(n) + "%\r\n";
}

// The head of a model file: title "t", no description, the equations, then the records.
inline std::string ModelHead(const std::string& equations, const std::string& records) {
    return "%Titulo%\r\nt\r\n%/Titulo%\r\n%Desc%\r\n%/Desc%\r\n%Modelo%\r\n" + equations +
           "\r\n%/Modelo%\r\n" + records;
}

inline const char* const kSXReadings = "SX\r\n10.0\r10.2\r\n10.0\r10.3\r\n";

// Every kind of quantity: the output, an intermediate, the sixteen distributions, Experimental
// readings in all five modes (with what Apply computes from them) and one quantity still
// without a distribution; Windows-1252 text throughout.
inline ModelDocument AllKindsDocument() {
    ModelDocument d;
    d.Title = "Calibraci\xF3n de una masa de 1 \xB5g";
    d.Description = "First line\r\nSecond line \xB1 0.1 \xB5m\r\n\r\nAfter an empty line\r\n";
    d.ModelText = "y = k";
    d.Parameters = {Quantity("y", 19), Quantity("k", 18)};
    // n4's a is left from an earlier Normal.
    const char* const values[][2] = {
        {"10", "0.1"}, {"5", "0.5"}, {"-1.5", "0.25"}, {"9.80665", "0.1"}, {"2", ""},    {"", ""},
        {"2", "3"},    {"4", "0"},   {"3.5", ""},      {"10", "0.3"},      {"5", "0.4"}, {"2", ""},
        {"", ""},      {"1.5", ""},  {"3", ""},        {"1", "0.2"}};
    for (int i = 1; i <= 16; ++i) {
        d.ModelText += " + n" + std::to_string(i);
        d.Parameters.push_back(
            Quantity("n" + std::to_string(i), i, values[i - 1][0], values[i - 1][1]));
    }
    const char* const readings[][5] = {
        {"Directa\r\n10.1\r\n10.3\r\n10.2\r\n", "10.2", "0.126741723112509", "Normal", "2"},
        {kSXReadings, "0.25", "0.0500000000000007", "Student", "1"},
        {"SXXS\r\n1.0\r5.1\r5.3\r1.2\r\n1.1\r5.0\r5.2\r1.0\r\n", "4.075", "0.16206893385673",
         "Normal", "1"},
        {"X/S\r\n2\r4\r\n2\r4.1\r\n2.1\r4\r\n", "1.98492063492063", "0.0425991647629195", "Student",
         "2"},
        {"SXS\r\n1.0\r5.0\r3.0\r\n1.1\r5.2\r3.1\r\n", "3.05", "0.0500000000000001", "Student",
         "1"}};
    for (int i = 0; i < 5; ++i) {
        const std::string name = "r" + std::to_string(i + 1);
        d.ModelText += " + " + name;
        const auto& r = readings[i];
        d.Parameters.push_back(Experimental(name, r[0], r[1], r[2], r[3], r[4]));
    }
    d.ModelText += "\r\nk = 2*m\r\n";
    d.Parameters.push_back(Quantity("m", 0, "", "", false));
    ParameterList& q = d.Parameters;
    q[2].Unidad = "\xB5m";
    q[2].Desc = "Length \xB1 tolerance";
    q[3].Unidad = std::string("\xB0") + "C";
    q[3].Desc = "Temperatura del ba\xF1o";
    const std::pair<int, double> sensib[] = {{2, 0.5},    {3, 0.333333333333333},
                                             {4, 1E-6},   {5, 2.5E15},
                                             {6, -0.125}, {18, 0.0123456789012345}};
    for (const auto& [index, value] : sensib)
        q[index].Sensib = value;
    return d;
}

}  // namespace corvanta::testing

namespace corvanta {
// Readable failures: every field of a record on one line.
inline void PrintTo(const ModelParameter& p, std::ostream* out) {
    *out << "{" << p.Nombre << " | " << p.Unidad << " | " << p.Desc << " | " << p.Distrib << " | "
         << p.Valor << " | " << p.Lecturas << " | " << p.a << " | " << p.b << " | " << p.Grados
         << " | " << (p.Init ? "T" : "F") << " | " << FormatGeneral(p.Sensib, 17) << "}";
}
}  // namespace corvanta
