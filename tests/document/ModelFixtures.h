#pragma once

#include <ostream>
#include <string>

#include "engine/NumberText.h"

#include "distributions/ModelParameter.h"
#include "document/ModelFile.h"

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

inline std::string ReplaceAll(std::string text, const std::string& from, const std::string& to) {
    for (std::size_t at = text.find(from); at != std::string::npos;
         at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
    return text;
}

// One readings table per mode, as the observations dialog writes them.
inline const char* const kDirectaReadings = "Directa\r\n10.1\r\n10.3\r\n10.2\r\n";
inline const char* const kSXReadings = "SX\r\n10.0\r10.2\r\n10.0\r10.3\r\n";
inline const char* const kSXXSReadings = "SXXS\r\n1.0\r5.1\r5.3\r1.2\r\n1.1\r5.0\r5.2\r1.0\r\n";
inline const char* const kXSReadings = "X/S\r\n2\r4\r\n2\r4.1\r\n2.1\r4\r\n";
inline const char* const kSXSReadings = "SXS\r\n1.0\r5.0\r3.0\r\n1.1\r5.2\r3.1\r\n";

inline ModelParameter Experimental(std::string name, std::string readings, std::string valor,
                                   std::string a, std::string b, std::string grados) {
    ModelParameter p = Quantity(std::move(name), 17, std::move(valor), std::move(a));
    p.Lecturas = std::move(readings);
    p.b = std::move(b);
    p.Grados = std::move(grados);
    return p;
}

// A document with every kind of quantity: the output, an intermediate, the
// sixteen distributions, Experimental readings in all five modes (with the
// values Apply computes from them) and one quantity still without a
// distribution; Windows-1252 text throughout.
inline ModelDocument AllKindsDocument() {
    ModelDocument d;
    d.Title = "Calibraci\xF3n de una masa de 1 \xB5g";
    d.Description = "First line\r\nSecond line \xB1 0.1 \xB5m\r\n\r\nAfter an empty line\r\n";
    d.ModelText =
        "y = k + n1 + n2 + n3 + n4 + n5 + n6 + n7 + n8 + n9 + n10 + n11 + n12 + n13 + n14 + "
        "n15 + n16 + r1 + r2 + r3 + r4 + r5\r\nk = 2*m\r\n";
    ParameterList& q = d.Parameters;
    q.push_back(Quantity("y", 19));
    q.push_back(Quantity("k", 18));
    q.push_back(Quantity("n1", 1, "10", "0.1"));
    q.push_back(Quantity("n2", 2, "5", "0.5"));
    q.push_back(Quantity("n3", 3, "-1.5", "0.25"));
    q.push_back(Quantity("n4", 4, "9.80665", "0.1"));  // a left from an earlier Normal
    q.push_back(Quantity("n5", 5, "2"));
    q.push_back(Quantity("n6", 6));
    q.push_back(Quantity("n7", 7, "2", "3"));
    q.push_back(Quantity("n8", 8, "4", "0"));
    q.push_back(Quantity("n9", 9, "3.5"));
    q.push_back(Quantity("n10", 10, "10", "0.3"));
    q.push_back(Quantity("n11", 11, "5", "0.4"));
    q.push_back(Quantity("n12", 12, "2"));
    q.push_back(Quantity("n13", 13));
    q.push_back(Quantity("n14", 14, "1.5"));
    q.push_back(Quantity("n15", 15, "3"));
    q.push_back(Quantity("n16", 16, "1", "0.2"));
    q.push_back(Experimental("r1", kDirectaReadings, "10.2", "0.126741723112509", "Normal", "2"));
    q.push_back(Experimental("r2", kSXReadings, "0.25", "0.0500000000000007", "Student", "1"));
    q.push_back(Experimental("r3", kSXXSReadings, "4.075", "0.16206893385673", "Normal", "1"));
    q.push_back(
        Experimental("r4", kXSReadings, "1.98492063492063", "0.0425991647629195", "Student", "2"));
    q.push_back(Experimental("r5", kSXSReadings, "3.05", "0.0500000000000001", "Student", "1"));
    q.push_back(Quantity("m", 0, "", "", false));
    q[2].Unidad = "\xB5m";
    q[2].Desc = "Length \xB1 tolerance";
    q[3].Unidad = std::string("\xB0") + "C";
    q[3].Desc = "Temperatura del ba\xF1o";
    q[2].Sensib = 0.5;
    q[3].Sensib = 0.333333333333333;
    q[4].Sensib = 1E-6;
    q[5].Sensib = 2.5E15;
    q[6].Sensib = -0.125;
    q[18].Sensib = 0.0123456789012345;
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
