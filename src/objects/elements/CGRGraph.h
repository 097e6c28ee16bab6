// CGRGraph: the descriptor of a chart: title, axis titles, colour and
// attribute bits (GRAPH_ATTR values, which the applications define). Not
// shared and not persisted.
#pragma once

#include "platform/CString.h"
#include "platform/Export.h"
#include "platform/Types.h"

namespace GRAPH_OBJECTS {

// Attribute bits of a chart; the values are the applications' own.
typedef ulong32 GRAPH_ATTR;

class TELIO_EXPORT CGRGraph {
 public:
  CGRGraph();
  CGRGraph(const CGRGraph& other) = default;
  virtual ~CGRGraph();

  void SetGraph(const CString& name, const CString& nameX, const CString& nameY, ulong32 color, ulong32 attributes);
  CString Name() const { return m_name; }
  CString NameX() const { return m_nameX; }
  CString NameY() const { return m_nameY; }
  CString* PName() { return &m_name; }
  void SetName(const CString& name) { m_name = name; }
  void SetNameX(const CString& name) { m_nameX = name; }
  void SetNameY(const CString& name) { m_nameY = name; }
  ulong32 Color() const { return m_color; }
  ulong32* PColor() { return &m_color; }
  void SetColor(ulong32 color) { m_color = color; }
  ulong32 Attr() const { return m_attr; }
  // (value | set) & ~clear.
  void SetAttr(ulong32 set, ulong32 clear) { m_attr = (m_attr | set) & ~clear; }
  // True when every bit of attr is set (unlike CEElement::HasAttr).
  bool HasAttr(GRAPH_ATTR attr) const { return (m_attr & attr) == attr; }

  // Names empty, colour 0, attributes 0.
  virtual void ResetGraph();
  virtual CGRGraph& operator=(const CGRGraph& other);
  // The three names equal ignoring case, colour and attributes equal.
  virtual bool operator==(const CGRGraph& other) const;
  virtual bool operator!=(const CGRGraph& other) const;

 private:
  CString m_name;
  CString m_nameX;
  CString m_nameY;
  ulong32 m_color;
  ulong32 m_attr;
};

}  // namespace GRAPH_OBJECTS
