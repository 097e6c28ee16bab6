#include "sections/SectionProperties.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "platform/LastError.h"

namespace {

constexpr double kPi = 3.14159265358979323846;
// Chords per quarter turn of a fillet or corner arc, and per full circle.
constexpr int kArcChordsPerQuarter = 16;
constexpr int kCircleChords = 360;
// kg/m per cm2 of steel (7850 kg/m3).
constexpr double kWeightPerArea = 0.785;

// Coordinates in mm: u across (the width), v up (the height).
struct Pt {
  double u, v;
};

// A closed polygon, counter-clockwise once built (see Orient), material
// (+1) or hole (-1).
struct Ring {
  std::vector<Pt> pts;
  double sign;
};
using Region = std::vector<Ring>;

// A polygon corner and the radius it is rounded with (0: sharp).
struct Corner {
  double u, v, r;
};

// Area integrals over a polygon: A, first moments, second moments.
struct Moments {
  double A = 0, Su = 0, Sv = 0, Iuu = 0, Ivv = 0, Iuv = 0;

  void Add(const Moments& o, double f) {
    A += f * o.A;
    Su += f * o.Su;
    Sv += f * o.Sv;
    Iuu += f * o.Iuu;
    Ivv += f * o.Ivv;
    Iuv += f * o.Iuv;
  }
};

// Green's theorem over the edges; counter-clockwise rings give positive
// values.
Moments RingMoments(const std::vector<Pt>& p) {
  Moments m;
  const size_t n = p.size();
  for (size_t i = 0; i < n; ++i) {
    const Pt& a = p[i];
    const Pt& b = p[(i + 1) % n];
    const double c = a.u * b.v - b.u * a.v;
    m.A += c;
    m.Su += (a.u + b.u) * c;
    m.Sv += (a.v + b.v) * c;
    m.Iuu += (a.u * a.u + a.u * b.u + b.u * b.u) * c;
    m.Ivv += (a.v * a.v + a.v * b.v + b.v * b.v) * c;
    m.Iuv += (a.u * b.v + 2 * a.u * a.v + 2 * b.u * b.v + b.u * a.v) * c;
  }
  m.A /= 2;
  m.Su /= 6;
  m.Sv /= 6;
  m.Iuu /= 12;
  m.Ivv /= 12;
  m.Iuv /= 24;
  return m;
}

// The part of a polygon on the side coord <= c (coord 0: u, 1: v). A
// non-convex polygon may come out with edges doubled along the cut line;
// they add nothing to the integrals.
std::vector<Pt> ClipBelow(const std::vector<Pt>& p, int coord, double c) {
  std::vector<Pt> out;
  const size_t n = p.size();
  out.reserve(n + 4);
  auto at = [coord](const Pt& q) { return coord == 0 ? q.u : q.v; };
  for (size_t i = 0; i < n; ++i) {
    const Pt& a = p[i];
    const Pt& b = p[(i + 1) % n];
    const bool ina = at(a) <= c;
    const bool inb = at(b) <= c;
    if (ina) out.push_back(a);
    if (ina != inb) {
      const double t = (c - at(a)) / (at(b) - at(a));
      out.push_back({a.u + t * (b.u - a.u), a.v + t * (b.v - a.v)});
    }
  }
  return out;
}

// Turns every ring counter-clockwise, so that its integrals are positive
// and a hole is subtracted by its sign alone.
void Orient(Region* region) {
  for (Ring& r : *region) {
    if (RingMoments(r.pts).A < 0) std::reverse(r.pts.begin(), r.pts.end());
  }
}

Moments RegionMoments(const Region& region, int coord = -1, double c = 0) {
  Moments total;
  for (const Ring& r : region) {
    total.Add(RingMoments(coord < 0 ? r.pts : ClipBelow(r.pts, coord, c)), r.sign);
  }
  return total;
}

// Replaces every corner by the arc of its radius tangent to both edges.
// False when a corner cannot be rounded: a zero-length edge, a straight or
// folded corner with a radius, or two arcs that do not fit on one edge.
bool RoundCorners(const std::vector<Corner>& c, std::vector<Pt>* out) {
  const size_t n = c.size();
  std::vector<double> dist(n, 0.0), len(n, 0.0);
  for (size_t i = 0; i < n; ++i) {
    const Corner& p = c[i];
    const Corner& q = c[(i + 1) % n];
    len[i] = std::hypot(q.u - p.u, q.v - p.v);
    if (!(len[i] > 1e-9)) return false;
  }
  for (size_t i = 0; i < n; ++i) {
    if (c[i].r == 0) continue;
    const Corner& p = c[i];
    const Corner& a = c[(i + n - 1) % n];
    const Corner& b = c[(i + 1) % n];
    const double cosTheta = ((a.u - p.u) * (b.u - p.u) + (a.v - p.v) * (b.v - p.v)) /
                            (len[(i + n - 1) % n] * len[i]);
    const double theta = std::acos(std::max(-1.0, std::min(1.0, cosTheta)));
    if (theta < 1e-6 || theta > kPi - 1e-6) return false;
    dist[i] = c[i].r / std::tan(theta / 2);
  }
  for (size_t i = 0; i < n; ++i) {
    if (dist[i] + dist[(i + 1) % n] > len[i] + 1e-9) return false;
  }
  out->clear();
  for (size_t i = 0; i < n; ++i) {
    const Corner& p = c[i];
    if (p.r == 0) {
      out->push_back({p.u, p.v});
      continue;
    }
    const Corner& a = c[(i + n - 1) % n];
    const Corner& b = c[(i + 1) % n];
    const double la = len[(i + n - 1) % n];
    const double lb = len[i];
    const double e1u = (a.u - p.u) / la, e1v = (a.v - p.v) / la;
    const double e2u = (b.u - p.u) / lb, e2v = (b.v - p.v) / lb;
    const double t1u = p.u + e1u * dist[i], t1v = p.v + e1v * dist[i];
    const double t2u = p.u + e2u * dist[i], t2v = p.v + e2v * dist[i];
    double bu = e1u + e2u, bv = e1v + e2v;
    const double bl = std::hypot(bu, bv);
    bu /= bl;
    bv /= bl;
    const double toCentre = std::hypot(dist[i], p.r);
    const double cu = p.u + bu * toCentre, cv = p.v + bv * toCentre;
    const double a1 = std::atan2(t1v - cv, t1u - cu);
    double sweep = std::atan2(t2v - cv, t2u - cu) - a1;
    while (sweep > kPi) sweep -= 2 * kPi;
    while (sweep <= -kPi) sweep += 2 * kPi;
    const int chords = std::max(2, static_cast<int>(std::ceil(std::fabs(sweep) / (kPi / 2) * kArcChordsPerQuarter)));
    for (int k = 0; k <= chords; ++k) {
      const double ang = a1 + sweep * k / chords;
      out->push_back({cu + p.r * std::cos(ang), cv + p.r * std::sin(ang)});
    }
  }
  return true;
}

bool AddRounded(Region* region, const std::vector<Corner>& corners, double sign) {
  Ring ring;
  ring.sign = sign;
  if (!RoundCorners(corners, &ring.pts)) return false;
  region->push_back(std::move(ring));
  return true;
}

void AddCircle(Region* region, double cu, double cv, double radius, double sign) {
  Ring ring;
  ring.sign = sign;
  ring.pts.reserve(kCircleChords);
  // The chords' corners lie on a slightly larger circle so that the polygon
  // has the circle's area.
  const double step = 2 * kPi / kCircleChords;
  const double rr = radius * std::sqrt(step / std::sin(step));
  for (int k = 0; k < kCircleChords; ++k) {
    ring.pts.push_back({cu + rr * std::cos(k * step), cv + rr * std::sin(k * step)});
  }
  region->push_back(std::move(ring));
}

bool Finite(double x) { return std::isfinite(x); }
bool Size(double x) { return Finite(x) && x > 0 && x <= kMaxSectionDimension; }
bool Radius(double x) { return Finite(x) && x >= 0 && x <= kMaxSectionDimension; }

// An angle with its heel at the origin, the vertical leg of length legV
// along +v and the horizontal leg legH along +u.
std::vector<Corner> AngleCorners(double legV, double legH, double t, double r1, double r2) {
  return {{0, 0, 0}, {legH, 0, 0}, {legH, t, r2}, {t, t, r1}, {t, legV, r2}, {0, legV, 0}};
}

// The outline of a section; false when the dimensions do not make one.
bool BuildRegion(const CSectionData& d, Region* region) {
  region->clear();
  switch (d.shape) {
    case kShapeRolledI: {
      if (!Size(d.h) || !Size(d.b) || !Size(d.tw) || !Size(d.tf) || !Radius(d.r1)) return false;
      if (2 * d.tf >= d.h || d.tw >= d.b) return false;
      const double m = d.b / 2, w = d.tw / 2;
      return AddRounded(region,
                        {{0, 0, 0}, {d.b, 0, 0}, {d.b, d.tf, 0}, {m + w, d.tf, d.r1},
                         {m + w, d.h - d.tf, d.r1}, {d.b, d.h - d.tf, 0}, {d.b, d.h, 0}, {0, d.h, 0},
                         {0, d.h - d.tf, 0}, {m - w, d.h - d.tf, d.r1}, {m - w, d.tf, d.r1}, {0, d.tf, 0}},
                        1);
    }
    case kShapeWeldedI: {
      if (!Size(d.h) || !Size(d.b) || !Size(d.tf) || !Size(d.b2) || !Size(d.tf2) || !Size(d.tw)) return false;
      if (d.tf + d.tf2 >= d.h || d.tw >= d.b || d.tw >= d.b2) return false;
      const double m = std::max(d.b, d.b2) / 2, w = d.tw / 2;
      return AddRounded(region,
                        {{m - d.b2 / 2, 0, 0}, {m + d.b2 / 2, 0, 0}, {m + d.b2 / 2, d.tf2, 0},
                         {m + w, d.tf2, 0}, {m + w, d.h - d.tf, 0}, {m + d.b / 2, d.h - d.tf, 0},
                         {m + d.b / 2, d.h, 0}, {m - d.b / 2, d.h, 0}, {m - d.b / 2, d.h - d.tf, 0},
                         {m - w, d.h - d.tf, 0}, {m - w, d.tf2, 0}, {m - d.b2 / 2, d.tf2, 0}},
                        1);
    }
    case kShapeChannel: {
      if (!Size(d.h) || !Size(d.b) || !Size(d.tw) || !Size(d.tf) || !Radius(d.r1) || !Radius(d.r2)) return false;
      if (!Finite(d.slope) || d.slope < 0 || d.slope > 25 || d.tw >= d.b) return false;
      if (!Radius(d.tfAt) || d.tfAt > d.b - d.tw) return false;
      // The flange thickness is given tfAt from the toe; the inner face falls
      // towards the toe with the slope.
      const double s = d.slope / 100, fromToe = d.tfAt > 0 ? d.tfAt : d.b / 2;
      const double atWeb = d.tf + s * (d.b - d.tw - fromToe), atToe = d.tf - s * fromToe;
      if (atToe <= 0 || 2 * atWeb >= d.h) return false;
      return AddRounded(region,
                        {{0, 0, 0}, {d.b, 0, 0}, {d.b, atToe, d.r2}, {d.tw, atWeb, d.r1},
                         {d.tw, d.h - atWeb, d.r1}, {d.b, d.h - atToe, d.r2}, {d.b, d.h, 0}, {0, d.h, 0}},
                        1);
    }
    case kShapeAngle: {
      if (!Size(d.h) || !Size(d.b) || !Size(d.tw) || !Radius(d.r1) || !Radius(d.r2)) return false;
      if (d.tw >= d.h || d.tw >= d.b) return false;
      return AddRounded(region, AngleCorners(d.h, d.b, d.tw, d.r1, d.r2), 1);
    }
    case kShapeDoubleAngle: {
      if (!Size(d.h) || !Size(d.b) || !Size(d.tw) || !Radius(d.r1) || !Radius(d.r2)) return false;
      if (d.tw >= d.h || d.tw >= d.b || !Radius(d.spacing)) return false;
      if (d.arrangement < kPairBackToBack || d.arrangement > kPairStar) return false;
      double legV = d.h, legH = d.b;
      if (d.arrangement == kPairShortLegs) {
        legV = std::min(d.h, d.b);
        legH = std::max(d.h, d.b);
      } else if (d.arrangement == kPairLongLegs) {
        legV = std::max(d.h, d.b);
        legH = std::min(d.h, d.b);
      }
      Ring one;
      one.sign = 1;
      if (!RoundCorners(AngleCorners(legV, legH, d.tw, d.r1, d.r2), &one.pts)) return false;
      for (Pt& p : one.pts) p.u += d.spacing / 2;
      Ring other = one;
      for (Pt& p : other.pts) {
        p.u = -p.u;
        if (d.arrangement == kPairStar) p.v = -p.v;
      }
      region->push_back(std::move(one));
      region->push_back(std::move(other));
      return true;
    }
    case kShapeTee: {
      if (!Size(d.h) || !Size(d.b) || !Size(d.tw) || !Size(d.tf) || !Radius(d.r1)) return false;
      if (d.tf >= d.h || d.tw >= d.b) return false;
      const double m = d.b / 2, w = d.tw / 2;
      return AddRounded(region,
                        {{m - w, 0, 0}, {m + w, 0, 0}, {m + w, d.h - d.tf, d.r1}, {d.b, d.h - d.tf, 0},
                         {d.b, d.h, 0}, {0, d.h, 0}, {0, d.h - d.tf, 0}, {m - w, d.h - d.tf, d.r1}},
                        1);
    }
    case kShapeCircularHollow: {
      if (!Size(d.h) || !Size(d.tw) || 2 * d.tw >= d.h) return false;
      AddCircle(region, 0, 0, d.h / 2, 1);
      AddCircle(region, 0, 0, d.h / 2 - d.tw, -1);
      return true;
    }
    case kShapeRectHollow: {
      if (!Size(d.h) || !Size(d.b) || !Size(d.tw) || !Radius(d.r1) || !Radius(d.r2)) return false;
      const double t = d.tw;
      if (2 * t >= d.h || 2 * t >= d.b) return false;
      return AddRounded(region, {{0, 0, d.r1}, {d.b, 0, d.r1}, {d.b, d.h, d.r1}, {0, d.h, d.r1}}, 1) &&
             AddRounded(region,
                        {{t, t, d.r2}, {d.b - t, t, d.r2}, {d.b - t, d.h - t, d.r2}, {t, d.h - t, d.r2}}, -1);
    }
    case kShapeRoundBar:
      if (!Size(d.h)) return false;
      AddCircle(region, 0, 0, d.h / 2, 1);
      return true;
    case kShapeRectBar:
      if (!Size(d.h) || !Size(d.b)) return false;
      return AddRounded(region, {{0, 0, 0}, {d.b, 0, 0}, {d.b, d.h, 0}, {0, d.h, 0}}, 1);
    default:
      return false;
  }
}

// St Venant torsion of a thick rectangular strip b x t (b >= t).
double StripTorsion(double b, double t) {
  if (b < t) std::swap(b, t);
  return b * t * t * t * (1.0 / 3 - 0.21 * (t / b) * (1 - std::pow(t / b, 4) / 12));
}

// The torsion constants of rolled open sections are those of their plates
// as thin strips, less the unstressed corners at their free ends, plus the
// stiffness of each web-to-flange junction: a coefficient alpha times the
// fourth power of the diameter D of the largest circle inscribed in the
// junction with its root fillet. Each family follows the tables it is
// checked against:
//   I and H sections (ArcelorMittal's sales programme):
//     It = 2 (b - 0.63 tf) tf^3 / 3 + (h - 2 tf) tw^3 / 3 + 2 alpha D^4,
//     alpha = (tw / tf) (0.145 + 0.1 r / tf).
//   Channels, angles and tees (the Steel Construction Institute's tables of
//   section properties, SCI P363, which take alpha and D from El Darwish and
//   Johnston's study of the torsion of structural shapes, 1965):
//     channel  It = 2 (b - 0.63 tf) tf^3 / 3 + (h - 2 tf) tw^3 / 3 + 2 aL DL^4
//     angle    It = (h - 0.315 t) t^3 / 3 + (b - t - 0.315 t) t^3 / 3 + aL DL^4
//     tee      It = (b - 0.63 tf) tf^3 / 3 + (h - tf - 0.315 tw) tw^3 / 3 + aT DT^4
//   with the fitted coefficients for an L junction (aL, DL) and a T junction
//   (aT, DT) below; t is the web or leg, T the flange thickness. A tapered
//   flange enters with its nominal thickness.

// A junction term alpha D^4, never negative (the fits are made for the
// proportions of rolled shapes, not for every shape a file may describe).
double JunctionTerm(double alpha, double D) { return std::max(0.0, alpha) * std::pow(D, 4); }

// The web-to-flange junction of an I or H section, as ArcelorMittal's tables.
double JunctionTorsion(double tw, double tf, double r) {
  const double D = ((r + tw / 2) * (r + tw / 2) + (r + tf) * (r + tf) - r * r) / (2 * r + tf);
  return JunctionTerm((tw / tf) * (0.145 + 0.1 * r / tf), D);
}

// The junction of a tee's web t with its flange T (El Darwish and Johnston).
double TeeJunctionTorsion(double t, double T, double r) {
  const double a = -0.042 + 0.2204 * t / T + 0.1355 * r / T - 0.0865 * r * t / (T * T) - 0.0725 * t * t / (T * T);
  const double D = ((T + r) * (T + r) + (r + 0.25 * t) * t) / (2 * r + T);
  return JunctionTerm(a, D);
}

// An L junction of a web or leg t with a flange or leg T: a channel's web
// and flange, an angle's two legs (El Darwish and Johnston).
double CornerJunctionTorsion(double t, double T, double r) {
  const double a = -0.0908 + 0.2621 * t / T + 0.1231 * r / T - 0.0752 * r * t / (T * T) - 0.0945 * t * t / (T * T);
  const double D = 2 * ((3 * r + t + T) - std::sqrt(2 * (2 * r + t) * (2 * r + T)));
  return JunctionTerm(a, D);
}

// A flange strip b x tf, its free ends softened.
double FlangeTorsion(double b, double tf) { return (b - 0.63 * tf) * tf * tf * tf / 3; }

// A strip of length l and thickness t with one free end.
double LegTorsion(double l, double t) { return (l - 0.315 * t) * t * t * t / 3; }

// Torsion constant (mm4), warping constant (mm6) and shear areas (mm2) of
// a section whose area and minor second moment (mm) are known.
void ClosedForms(const CSectionData& d, double A, double Iz, double* It, double* Iw, double* Avy,
                 double* Avz) {
  *It = *Iw = 0;
  *Avy = *Avz = A;
  switch (d.shape) {
    case kShapeRolledI: {
      const double hw = d.h - 2 * d.tf;
      *It = 2 * FlangeTorsion(d.b, d.tf) + hw * std::pow(d.tw, 3) / 3 + 2 * JunctionTorsion(d.tw, d.tf, d.r1);
      *Iw = Iz * (d.h - d.tf) * (d.h - d.tf) / 4;
      *Avz = std::max(A - 2 * d.b * d.tf + (d.tw + 2 * d.r1) * d.tf, hw * d.tw);
      *Avy = A - hw * d.tw;
      break;
    }
    case kShapeWeldedI: {
      const double hw = d.h - d.tf - d.tf2;
      *It = StripTorsion(d.b, d.tf) + StripTorsion(d.b2, d.tf2) + hw * std::pow(d.tw, 3) / 3;
      const double hs = d.h - (d.tf + d.tf2) / 2;
      const double i1 = d.tf * std::pow(d.b, 3) / 12, i2 = d.tf2 * std::pow(d.b2, 3) / 12;
      *Iw = hs * hs * i1 * i2 / (i1 + i2);
      *Avz = hw * d.tw;
      *Avy = A - *Avz;
      break;
    }
    case kShapeChannel: {
      const double hw = d.h - 2 * d.tf;
      *It = 2 * FlangeTorsion(d.b, d.tf) + hw * std::pow(d.tw, 3) / 3 + 2 * CornerJunctionTorsion(d.tw, d.tf, d.r1);
      const double bs = d.b - d.tw / 2, hs = d.h - d.tf;
      *Iw = d.tf * std::pow(bs, 3) * hs * hs / 12 * (3 * bs * d.tf + 2 * hs * d.tw) / (6 * bs * d.tf + hs * d.tw);
      *Avz = std::max(A - 2 * d.b * d.tf + (d.tw + d.r1) * d.tf, hw * d.tw);
      *Avy = A - hw * d.tw;
      break;
    }
    case kShapeAngle:
    case kShapeDoubleAngle: {
      const double t = d.tw;
      const double one = LegTorsion(d.h, t) + LegTorsion(d.b - t, t) + CornerJunctionTorsion(t, t, d.r1);
      const double n = d.shape == kShapeDoubleAngle ? 2 : 1;
      *It = n * one;
      *Avz = n * d.h * t;
      *Avy = n * d.b * t;
      break;
    }
    case kShapeTee:
      *It = FlangeTorsion(d.b, d.tf) + LegTorsion(d.h - d.tf, d.tw) + TeeJunctionTorsion(d.tw, d.tf, d.r1);
      *Avy = d.b * d.tf;
      *Avz = A - d.b * d.tf + (d.tw + 2 * d.r1) * d.tf / 2;
      break;
    case kShapeCircularHollow: {
      const double di = d.h - 2 * d.tw;
      *It = kPi * (std::pow(d.h, 4) - std::pow(di, 4)) / 32;
      *Avy = *Avz = 2 * A / kPi;
      break;
    }
    case kShapeRectHollow: {
      // Closed thin-walled cell on the wall's mid-line, corners rounded
      // with the mean radius.
      const double t = d.tw, rc = (d.r1 + d.r2) / 2;
      const double p = 2 * ((d.b - t) + (d.h - t)) - 2 * rc * (4 - kPi);
      const double ah = (d.b - t) * (d.h - t) - rc * rc * (4 - kPi);
      *It = t * t * t * p / 3 + 2 * (2 * ah * t / p) * ah;
      *Avz = A * d.h / (d.b + d.h);
      *Avy = A * d.b / (d.b + d.h);
      break;
    }
    case kShapeRoundBar:
      *It = kPi * std::pow(d.h, 4) / 32;
      break;
    case kShapeRectBar:
      *It = StripTorsion(d.h, d.b);
      break;
    default:
      break;
  }
}

void ZeroProperties(CSectionData* d) {
  d->A = d->Avy = d->Avz = d->Iy = d->Iz = d->Iyz = d->Iu = d->Iv = 0;
  d->Wely = d->Welz = d->Wply = d->Wplz = d->iy = d->iz = d->iu = d->iv = 0;
  d->It = d->Iw = d->ey = d->ez = d->G = 0;
}

// Plastic modulus (mm3) about the equal-area axis across coord.
double PlasticModulus(const Region& region, const Moments& all, int coord, double lo, double hi) {
  for (int i = 0; i < 50; ++i) {
    const double mid = (lo + hi) / 2;
    if (RegionMoments(region, coord, mid).A < all.A / 2) {
      lo = mid;
    } else {
      hi = mid;
    }
  }
  const double c = (lo + hi) / 2;
  const Moments below = RegionMoments(region, coord, c);
  const double sAll = (coord == 0 ? all.Su : all.Sv) - c * all.A;
  const double sBelow = (coord == 0 ? below.Su : below.Sv) - c * below.A;
  return (sAll - sBelow) - sBelow;
}

}  // namespace

int AreSectionDimensionsValid(const CSectionData& data) {
  Region region;
  return BuildRegion(data, &region) ? 1 : 0;
}

int CalculateSectionData(CSectionData* data) {
  if (!data) {
    telio::SetLastError(telio::kErrorBadArguments);
    return 0;
  }
  ZeroProperties(data);
  Region region;
  if (!BuildRegion(*data, &region)) {
    telio::SetLastError(telio::kErrorBadArguments);
    return 0;
  }
  Orient(&region);
  const Moments m = RegionMoments(region);
  if (!(m.A > 0)) {
    telio::SetLastError(telio::kErrorBadArguments);
    return 0;
  }
  double umin = 1e300, umax = -1e300, vmin = 1e300, vmax = -1e300;
  for (const Ring& r : region) {
    for (const Pt& p : r.pts) {
      umin = std::min(umin, p.u);
      umax = std::max(umax, p.u);
      vmin = std::min(vmin, p.v);
      vmax = std::max(vmax, p.v);
    }
  }
  const double uc = m.Su / m.A, vc = m.Sv / m.A;
  const double iy = m.Ivv - m.A * vc * vc;   // about the horizontal axis
  const double iz = m.Iuu - m.A * uc * uc;   // about the vertical axis
  const double iyz = m.Iuv - m.A * uc * vc;
  const double mean = (iy + iz) / 2, radius = std::hypot((iy - iz) / 2, iyz);

  double It = 0, Iw = 0, Avy = 0, Avz = 0;
  ClosedForms(*data, m.A, iz, &It, &Iw, &Avy, &Avz);

  data->A = m.A / 1e2;
  data->Avy = Avy / 1e2;
  data->Avz = Avz / 1e2;
  data->Iy = iy / 1e4;
  data->Iz = iz / 1e4;
  data->Iyz = iyz / 1e4;
  data->Iu = (mean + radius) / 1e4;
  data->Iv = (mean - radius) / 1e4;
  data->Wely = iy / std::max(vmax - vc, vc - vmin) / 1e3;
  data->Welz = iz / std::max(umax - uc, uc - umin) / 1e3;
  data->Wply = PlasticModulus(region, m, 1, vmin, vmax) / 1e3;
  data->Wplz = PlasticModulus(region, m, 0, umin, umax) / 1e3;
  data->iy = std::sqrt(data->Iy / data->A);
  data->iz = std::sqrt(data->Iz / data->A);
  data->iu = std::sqrt(data->Iu / data->A);
  data->iv = std::sqrt(std::max(0.0, data->Iv) / data->A);
  data->It = It / 1e4;
  data->Iw = Iw / 1e6;
  data->ey = (uc - umin) / 10;
  data->ez = (vc - vmin) / 10;
  data->G = data->A * kWeightPerArea;
  return 1;
}

int Calculate_I_SectionData(double h, double b, double tw, double tf, double r, CSectionData* data) {
  if (!data) {
    telio::SetLastError(telio::kErrorBadArguments);
    return 0;
  }
  data->shape = kShapeRolledI;
  data->h = h;
  data->b = b;
  data->tw = tw;
  data->tf = tf;
  data->r1 = r;
  data->r2 = data->b2 = data->tf2 = data->slope = data->spacing = 0;
  data->arrangement = 0;
  return CalculateSectionData(data);
}

int CalculateWeldedSectionData(double h, double bTop, double tfTop, double bBottom, double tfBottom,
                               double tw, CSectionData* data) {
  if (!data) {
    telio::SetLastError(telio::kErrorBadArguments);
    return 0;
  }
  data->shape = kShapeWeldedI;
  data->h = h;
  data->b = bTop;
  data->tf = tfTop;
  data->b2 = bBottom;
  data->tf2 = tfBottom;
  data->tw = tw;
  data->r1 = data->r2 = data->slope = data->spacing = 0;
  data->arrangement = 0;
  return CalculateSectionData(data);
}
