// Small DXF drawings written by the tests: header units, layers with their
// states, lines, circles, text, blocks and inserts.
#pragma once

#include <string>
#include <vector>

namespace pphatch::cli_test {

/// A DXF drawing built entity by entity; Str() is its file text.
class DxfDrawing {
 public:
  /// A header variable with an integer value ("$INSUNITS", 4).
  DxfDrawing& Header(const std::string& variable, int value) {
    header_ += "9\n" + variable + "\n70\n" + std::to_string(value) + "\n";
    return *this;
  }
  /// A layer table entry; off layers have a negative colour, frozen ones flag 1.
  DxfDrawing& Layer(const std::string& name, bool off = false, bool frozen = false) {
    layers_ += "0\nLAYER\n2\n" + name + "\n70\n" + (frozen ? "1" : "0") + "\n62\n" +
               (off ? "-7" : "7") + "\n";
    return *this;
  }
  DxfDrawing& Line(const std::string& layer, double x1, double y1, double x2, double y2) {
    entities_ += "0\nLINE\n8\n" + layer + "\n10\n" + N(x1) + "\n20\n" + N(y1) + "\n11\n" + N(x2) +
                 "\n21\n" + N(y2) + "\n";
    return *this;
  }
  DxfDrawing& Circle(const std::string& layer, double x, double y, double r, double thickness = 0) {
    entities_ += "0\nCIRCLE\n8\n" + layer + "\n39\n" + N(thickness) + "\n10\n" + N(x) + "\n20\n" +
                 N(y) + "\n40\n" + N(r) + "\n";
    return *this;
  }
  DxfDrawing& Text(const std::string& layer, double x, double y, const std::string& text) {
    entities_ += "0\nTEXT\n8\n" + layer + "\n10\n" + N(x) + "\n20\n" + N(y) + "\n40\n2\n1\n" + text + "\n";
    return *this;
  }
  DxfDrawing& Insert(const std::string& layer, const std::string& block, double x, double y) {
    entities_ += "0\nINSERT\n8\n" + layer + "\n2\n" + block + "\n10\n" + N(x) + "\n20\n" + N(y) + "\n";
    return *this;
  }
  /// A block definition holding the entities of `body`.
  DxfDrawing& Block(const std::string& name, const DxfDrawing& body) {
    blocks_ += "0\nBLOCK\n8\n0\n2\n" + name + "\n70\n0\n10\n0\n20\n0\n" + body.entities_ + "0\nENDBLK\n";
    return *this;
  }
  /// Leaves the ENTITIES section out of the file.
  DxfDrawing& WithoutEntitiesSection() {
    entitiesSection_ = false;
    return *this;
  }

  std::string Str() const {
    std::string text = "0\nSECTION\n2\nHEADER\n" + header_ + "0\nENDSEC\n";
    text += "0\nSECTION\n2\nTABLES\n0\nTABLE\n2\nLAYER\n" + layers_ + "0\nENDTAB\n0\nENDSEC\n";
    text += "0\nSECTION\n2\nBLOCKS\n" + blocks_ + "0\nENDSEC\n";
    if (entitiesSection_) text += "0\nSECTION\n2\nENTITIES\n" + entities_ + "0\nENDSEC\n";
    return text + "0\nEOF\n";
  }

 private:
  static std::string N(double v) { return std::to_string(v); }

  std::string header_, layers_, blocks_, entities_;
  bool entitiesSection_ = true;
};

}  // namespace pphatch::cli_test
