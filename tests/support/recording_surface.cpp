#include "recording_surface.h"

namespace amperlog::test {

const char* KindName(DrawOp::Kind kind) {
    switch (kind) {
    case DrawOp::Kind::Clear:
        return "Clear";
    case DrawOp::Kind::SetBackColor:
        return "SetBackColor";
    case DrawOp::Kind::SetForeColor:
        return "SetForeColor";
    case DrawOp::Kind::SetLineWidth:
        return "SetLineWidth";
    case DrawOp::Kind::SetFontSize:
        return "SetFontSize";
    case DrawOp::Kind::Resize:
        return "Resize";
    case DrawOp::Kind::SetVisible:
        return "SetVisible";
    case DrawOp::Kind::Line:
        return "Line";
    case DrawOp::Kind::Point:
        return "Point";
    case DrawOp::Kind::SetCurrentPoint:
        return "SetCurrentPoint";
    case DrawOp::Kind::Print:
        return "Print";
    }
    return "?";
}

RecordingSurface::RecordingSurface(double width, double height, int twipsPerPixel)
    : m_width(width), m_height(height), m_twipsPerPixel(twipsPerPixel) {}

DrawOp RecordingSurface::MakeOp(DrawOp::Kind kind) const {
    DrawOp op;
    op.kind = kind;
    op.color = m_foreColor;
    op.lineWidth = m_lineWidth;
    op.fontSize = m_fontSize;
    op.visible = m_visible;
    return op;
}

void RecordingSurface::Clear() {
    m_ops.clear();
    m_current = {0, 0};
    DrawOp op = MakeOp(DrawOp::Kind::Clear);
    op.color = m_backColor;
    m_ops.push_back(op);
}

void RecordingSurface::SetBackColor(Rgb color) {
    m_backColor = color;
    Clear();
    DrawOp op = MakeOp(DrawOp::Kind::SetBackColor);
    op.color = color;
    m_ops.push_back(op);
}

void RecordingSurface::SetForeColor(Rgb color) {
    m_foreColor = color;
    m_ops.push_back(MakeOp(DrawOp::Kind::SetForeColor));
}

void RecordingSurface::SetLineWidth(int pixels) {
    m_lineWidth = pixels;
    m_ops.push_back(MakeOp(DrawOp::Kind::SetLineWidth));
}

void RecordingSurface::SetFontSize(double points) {
    m_fontSize = points;
    m_ops.push_back(MakeOp(DrawOp::Kind::SetFontSize));
}

void RecordingSurface::Resize(double width, double height) {
    m_width = width;
    m_height = height;
    DrawOp op = MakeOp(DrawOp::Kind::Resize);
    op.from = {width, height};
    m_ops.push_back(op);
}

void RecordingSurface::SetVisible(bool visible) {
    m_visible = visible;
    m_ops.push_back(MakeOp(DrawOp::Kind::SetVisible));
}

void RecordingSurface::Line(PointF from, PointF to, BoxMode mode, std::optional<Rgb> color) {
    DrawOp op = MakeOp(DrawOp::Kind::Line);
    op.from = from;
    op.to = to;
    op.mode = mode;
    op.color = color.value_or(m_foreColor);
    m_ops.push_back(std::move(op));
    m_current = to;
}

void RecordingSurface::Point(PointF at, std::optional<Rgb> color) {
    DrawOp op = MakeOp(DrawOp::Kind::Point);
    op.from = at;
    op.color = color.value_or(m_foreColor);
    m_ops.push_back(std::move(op));
    m_current = at;
}

void RecordingSurface::SetCurrentPoint(PointF at) {
    DrawOp op = MakeOp(DrawOp::Kind::SetCurrentPoint);
    op.from = at;
    m_ops.push_back(std::move(op));
    m_current = at;
}

void RecordingSurface::Print(const std::string& text) {
    DrawOp op = MakeOp(DrawOp::Kind::Print);
    op.from = m_current;
    op.text = text;
    m_ops.push_back(std::move(op));
    // The next line starts at the left edge, one line of this font (20 twips a point) lower.
    m_current = {0, m_current.y + m_fontSize * 20};
}

std::vector<DrawOp> RecordingSurface::OpsOf(DrawOp::Kind kind) const {
    std::vector<DrawOp> result;
    for (const DrawOp& op : m_ops) {
        if (op.kind == kind) {
            result.push_back(op);
        }
    }
    return result;
}

std::vector<DrawOp> RecordingSurface::LinesIn(Rgb color) const {
    std::vector<DrawOp> result;
    for (const DrawOp& op : m_ops) {
        if (op.kind == DrawOp::Kind::Line && op.color == color) {
            result.push_back(op);
        }
    }
    return result;
}

std::vector<std::string> RecordingSurface::Texts() const {
    std::vector<std::string> result;
    for (const DrawOp& op : m_ops) {
        if (op.kind == DrawOp::Kind::Print) {
            result.push_back(op.text);
        }
    }
    return result;
}

std::optional<DrawOp> RecordingSurface::FindPrint(const std::string& text) const {
    for (const DrawOp& op : m_ops) {
        if (op.kind == DrawOp::Kind::Print && op.text == text) {
            return op;
        }
    }
    return std::nullopt;
}

std::size_t RecordingSurface::Count(DrawOp::Kind kind) const {
    std::size_t n = 0;
    for (const DrawOp& op : m_ops) {
        n += op.kind == kind ? 1 : 0;
    }
    return n;
}

} // namespace amperlog::test
