#include "swf/runtime/ShapeTessellation.h"

#include <algorithm>
#include <map>
#include <utility>

namespace swf {

namespace {

PathEdge Reversed(const PathEdge& edge) {
    return {edge.to, edge.control, edge.from, edge.curved};
}

// Runs of edges that follow on from one another, gathered per style.
struct Runs {
    std::vector<std::vector<PathEdge>> runs;

    void Add(const PathEdge& edge) {
        if (runs.empty() || (!runs.back().empty() && runs.back().back().to != edge.from)) {
            runs.emplace_back();
        }
        runs.back().push_back(edge);
    }
    // Starts a new run on the next edge even where it would follow on.
    void Break() {
        if (!runs.empty() && !runs.back().empty()) {
            runs.emplace_back();
        }
    }
};

// Joins the runs of one fill into outlines: each run is followed by a run
// that starts where it ends until the outline closes or nothing follows.
std::vector<Contour> JoinRuns(std::vector<std::vector<PathEdge>> runs) {
    std::erase_if(runs, [](const auto& run) { return run.empty(); });
    std::multimap<std::pair<Twips, Twips>, std::size_t> byStart;
    for (std::size_t i = 0; i < runs.size(); ++i) {
        byStart.emplace(std::pair{runs[i].front().from.x, runs[i].front().from.y}, i);
    }
    std::vector<bool> used(runs.size(), false);
    std::vector<Contour> contours;
    for (std::size_t first = 0; first < runs.size(); ++first) {
        if (used[first]) {
            continue;
        }
        Contour contour;
        std::size_t current = first;
        while (true) {
            used[current] = true;
            const auto& run = runs[current];
            contour.edges.insert(contour.edges.end(), run.begin(), run.end());
            if (contour.Closed()) {
                break;
            }
            const Point end = contour.edges.back().to;
            auto [begin, last] = byStart.equal_range({end.x, end.y});
            const auto next =
                std::find_if(begin, last, [&](const auto& e) { return !used[e.second]; });
            if (next == last) {
                break;
            }
            current = next->second;
        }
        contours.push_back(std::move(contour));
    }
    return contours;
}

class GeometryBuilder {
public:
    explicit GeometryBuilder(bool nonZero) { geometry.nonZeroWinding = nonZero; }

    void StartGroup(const StyleArrays& styles) {
        Flush();
        group = StyleGroup{styles, {}, {}};
        left.assign(styles.fills.size(), {});
        right.assign(styles.fills.size(), {});
        lines.assign(styles.lines.size(), {});
        fill0 = fill1 = line = 0;
        open = true;
    }

    void Change(const StyleChange& change) {
        if (change.newStyles) {
            StartGroup(*change.newStyles);
        }
        if (change.fill0) {
            fill0 = *change.fill0;
        }
        if (change.fill1) {
            fill1 = *change.fill1;
        }
        if (change.line) {
            if (line != 0 && line <= lines.size()) {
                lines[line - 1].Break();
            }
            line = *change.line;
        }
        if (change.moveTo) {
            pen = *change.moveTo;
            // A move ends every run, even if the pen returns to the same point.
            for (auto& runs : lines) {
                runs.Break();
            }
        }
    }

    void Edge(const PathEdge& edge) {
        if (fill1 != 0 && fill1 <= right.size()) {
            right[fill1 - 1].Add(edge);
        }
        if (fill0 != 0 && fill0 <= left.size()) {
            // Reversed later, whole runs at a time.
            left[fill0 - 1].Add(edge);
        }
        if (line != 0 && line <= lines.size()) {
            lines[line - 1].Add(edge);
        }
        pen = edge.to;
    }

    Point Pen() const { return pen; }

    ShapeGeometry Finish() {
        Flush();
        return std::move(geometry);
    }

private:
    void Flush() {
        if (!open) {
            return;
        }
        for (std::size_t style = 0; style < right.size(); ++style) {
            std::vector<std::vector<PathEdge>> runs = std::move(right[style].runs);
            for (auto& run : left[style].runs) {
                std::reverse(run.begin(), run.end());
                for (PathEdge& edge : run) {
                    edge = Reversed(edge);
                }
                runs.push_back(std::move(run));
            }
            auto contours = JoinRuns(std::move(runs));
            if (!contours.empty()) {
                group.fills.push_back({style, std::move(contours)});
            }
        }
        for (std::size_t style = 0; style < lines.size(); ++style) {
            std::vector<Contour> contours;
            for (auto& run : lines[style].runs) {
                if (!run.empty()) {
                    contours.push_back({std::move(run)});
                }
            }
            if (!contours.empty()) {
                group.strokes.push_back({style, std::move(contours)});
            }
        }
        if (!group.fills.empty() || !group.strokes.empty()) {
            geometry.groups.push_back(std::move(group));
        }
        open = false;
    }

    ShapeGeometry geometry;
    StyleGroup group;
    std::vector<Runs> left, right, lines;
    std::uint32_t fill0 = 0, fill1 = 0, line = 0;
    Point pen;
    bool open = false;
};

} // namespace

ShapeGeometry BuildShapeGeometry(const StyleArrays& styles, const std::vector<ShapeRecord>& records,
                                 bool nonZeroWinding) {
    GeometryBuilder builder(nonZeroWinding);
    builder.StartGroup(styles);
    for (const ShapeRecord& record : records) {
        const Point pen = builder.Pen();
        if (const auto* change = std::get_if<StyleChange>(&record)) {
            builder.Change(*change);
        } else if (const auto* straight = std::get_if<StraightEdge>(&record)) {
            builder.Edge({pen, {}, {pen.x + straight->dx, pen.y + straight->dy}, false});
        } else {
            const auto& curve = std::get<CurvedEdge>(record);
            const Point control{pen.x + curve.controlDx, pen.y + curve.controlDy};
            builder.Edge(
                {pen, control, {control.x + curve.anchorDx, control.y + curve.anchorDy}, true});
        }
    }
    return builder.Finish();
}

ShapeGeometry BuildGlyphGeometry(const Shape& glyph) {
    // Glyphs have no style arrays: style 1, on whichever side, is the glyph.
    StyleArrays one;
    one.fills.emplace_back();
    std::vector<ShapeRecord> records = glyph.records;
    for (ShapeRecord& record : records) {
        if (auto* change = std::get_if<StyleChange>(&record)) {
            change->newStyles.reset();
            change->line.reset();
        }
    }
    return BuildShapeGeometry(one, records, glyph.usesFillWindingRule);
}

} // namespace swf
