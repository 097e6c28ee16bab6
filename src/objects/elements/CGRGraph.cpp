#include "objects/elements/CGRGraph.h"

namespace GRAPH_OBJECTS {

CGRGraph::CGRGraph() : m_color(0), m_attr(0) {}

CGRGraph::~CGRGraph() = default;

void CGRGraph::SetGraph(const CString& name, const CString& nameX, const CString& nameY, ulong32 color,
                        ulong32 attributes) {
  m_name = name;
  m_nameX = nameX;
  m_nameY = nameY;
  m_color = color;
  m_attr = attributes;
}

void CGRGraph::ResetGraph() { SetGraph(CString(), CString(), CString(), 0, 0); }

CGRGraph& CGRGraph::operator=(const CGRGraph& other) {
  SetGraph(other.m_name, other.m_nameX, other.m_nameY, other.m_color, other.m_attr);
  return *this;
}

bool CGRGraph::operator==(const CGRGraph& other) const {
  return m_name.CompareNoCase(other.m_name) == 0 && m_nameX.CompareNoCase(other.m_nameX) == 0 &&
         m_nameY.CompareNoCase(other.m_nameY) == 0 && m_color == other.m_color && m_attr == other.m_attr;
}

bool CGRGraph::operator!=(const CGRGraph& other) const { return !(*this == other); }

}  // namespace GRAPH_OBJECTS
