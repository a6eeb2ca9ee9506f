"""Reads an SVG picture of pphatch with an XML parser and prints what the
tests check, as JSON: size, title, legend entries, scale bar, ticks, note,
pick number boxes, and the largest coordinate drawn in the drawing group."""
import json
import re
import sys
import xml.etree.ElementTree as ET

NS = "{http://www.w3.org/2000/svg}"


def text_of(element):
    return "".join(element.itertext()) if element is not None else None


def group(root, name):
    return root.find(".//%sg[@id='%s']" % (NS, name))


def main(path):
    root = ET.parse(path).getroot()
    facts = {"width": float(root.get("width")), "height": float(root.get("height"))}
    facts["title"] = text_of(root.find(".//%stext[@id='title']" % NS))
    facts["note"] = text_of(root.find(".//%stext[@id='note']" % NS))
    legend = group(root, "legend")
    facts["legend"] = [text_of(t) for t in legend.iter(NS + "text") if t.get("class") == "legend-entry"] if legend is not None else []
    facts["scale_bar"] = text_of(group(root, "scale-bar"))
    ticks = group(root, "ticks")
    facts["ticks_x"] = [text_of(t) for t in ticks.iter(NS + "text") if t.get("class") == "tick-x"] if ticks is not None else []
    facts["ticks_y"] = [text_of(t) for t in ticks.iter(NS + "text") if t.get("class") == "tick-y"] if ticks is not None else []
    numbers = group(root, "pick-numbers")
    facts["numbers"] = [[float(r.get(k)) for k in ("x", "y", "width", "height")]
                        for r in numbers.iter(NS + "rect")] if numbers is not None else []
    drawing = group(root, "drawing")
    coords = []
    shapes = 0
    for e in drawing:
        shapes += 1
        for key in ("d", "cx", "cy"):
            coords += [abs(float(v)) for v in re.findall(r"-?\d+(?:\.\d+)?", e.get(key) or "")]
    facts["drawing_shapes"] = shapes
    facts["drawing_max"] = max(coords) if coords else 0
    facts["texts"] = [text_of(t) for t in group(root, "texts").iter(NS + "text")]
    print(json.dumps(facts))


if __name__ == "__main__":
    main(sys.argv[1])
