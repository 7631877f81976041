// Composition and decomposition of frame matrices, and the 4x4 inverse. The
// arithmetic runs in double and is rounded to float once at the end.
#include "mqhost/matrix_values.hpp"

#include <cmath>

namespace mqhost {

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kDegrees = 180.0 / kPi;

struct Vec {
  double x = 0, y = 0, z = 0;
};

Vec Sub(Vec a, Vec b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
Vec Scaled(Vec a, double s) { return {a.x * s, a.y * s, a.z * s}; }
double Dot(Vec a, Vec b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
Vec Cross(Vec a, Vec b) { return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x}; }
double Length(Vec a) { return std::sqrt(Dot(a, a)); }

// The unit vector along `a`, or false when `a` has no direction.
bool Unit(Vec a, Vec* out) {
  const double length = Length(a);
  if (!(length > 0) || !std::isfinite(length)) return false;
  *out = Scaled(a, 1.0 / length);
  return true;
}

// Any unit vector perpendicular to the unit vector `a`.
Vec Perpendicular(Vec a) {
  const Vec axis = std::fabs(a.x) < 0.9 ? Vec{1, 0, 0} : Vec{0, 1, 0};
  Vec out{1, 0, 0};
  Unit(Cross(a, axis), &out);
  return out;
}

// Index of the element in `row` and `column` of a Matrix16.
size_t At(int row, int column) { return static_cast<size_t>(row) * 4 + static_cast<size_t>(column); }

Vec Row(const Matrix16& m, int row) { return {m[At(row, 0)], m[At(row, 1)], m[At(row, 2)]}; }

// A right-handed orthonormal frame from three axis rows: keeps the direction
// of `x` and the plane of `x` and `y`; rows that are zero are completed from
// the others.
void OrthonormalFrame(Vec x, Vec y, Vec z, Vec* e0, Vec* e1, Vec* e2) {
  if (!Unit(x, e0) && !Unit(Cross(y, z), e0)) {
    Vec other;
    if (Unit(y, &other) || Unit(z, &other)) {
      *e0 = Perpendicular(other);
    } else {
      *e0 = {1, 0, 0};
    }
  }
  if (!Unit(Sub(y, Scaled(*e0, Dot(y, *e0))), e1) && !Unit(Cross(z, *e0), e1)) *e1 = Perpendicular(*e0);
  *e2 = Cross(*e0, *e1);
}

float Degrees(double radians) { return static_cast<float>(radians * kDegrees); }

}  // namespace

Matrix16 ComposeMatrix(Point3 scale, Point3 angle, Point3 translation) {
  const double h = angle.x / kDegrees;
  const double p = angle.y / kDegrees;
  const double b = angle.z / kDegrees;
  const double ch = std::cos(h), sh = std::sin(h);
  const double cp = std::cos(p), sp = std::sin(p);
  const double cb = std::cos(b), sb = std::sin(b);
  const double rows[3][3] = {
      {cb * ch + sb * sp * sh, sb * cp, -cb * sh + sb * sp * ch},
      {-sb * ch + cb * sp * sh, cb * cp, sb * sh + cb * sp * ch},
      {cp * sh, -sp, cp * ch},
  };
  const double scales[3] = {scale.x, scale.y, scale.z};
  Matrix16 m{};
  for (int r = 0; r < 3; ++r) {
    for (int c = 0; c < 3; ++c) m[At(r, c)] = static_cast<float>(scales[r] * rows[r][c]);
  }
  m[3] = 0;
  m[7] = 0;
  m[11] = 0;
  m[12] = translation.x;
  m[13] = translation.y;
  m[14] = translation.z;
  m[15] = 1;
  return m;
}

void DecomposeMatrix(const Matrix16& matrix, Point3* scale, Point3* angle, Point3* translation) {
  Vec rows[3] = {Row(matrix, 0), Row(matrix, 1), Row(matrix, 2)};
  double scales[3] = {Length(rows[0]), Length(rows[1]), Length(rows[2])};

  // A reflection: one axis takes the negative sign, the one whose unit row
  // points most against its own vertex-space axis.
  const double determinant = Dot(rows[0], Cross(rows[1], rows[2]));
  if (determinant < 0) {
    int flipped = 0;
    double lowest = 2;
    for (int k = 0; k < 3; ++k) {
      if (!(scales[k] > 0)) continue;
      const double along[3] = {rows[k].x, rows[k].y, rows[k].z};
      const double diagonal = along[k] / scales[k];
      if (diagonal < lowest) {
        lowest = diagonal;
        flipped = k;
      }
    }
    scales[flipped] = -scales[flipped];
    rows[flipped] = Scaled(rows[flipped], -1);
  }

  Vec e[3];
  OrthonormalFrame(rows[0], rows[1], rows[2], &e[0], &e[1], &e[2]);

  // R(0,1) = sb*cp and R(1,1) = cb*cp give the bank; cb*row 0 - sb*row 1 is
  // (ch, 0, -sh) whatever the pitch, which keeps the heading accurate near
  // gimbal lock.
  const double cosPitch = std::hypot(e[0].y, e[1].y);
  double bank = 0;
  if (cosPitch > 1e-12) bank = std::atan2(e[0].y, e[1].y);
  const double pitch = std::atan2(-e[2].y, cosPitch);
  const double cb = std::cos(bank), sb = std::sin(bank);
  const double heading = std::atan2(-(cb * e[0].z - sb * e[1].z), cb * e[0].x - sb * e[1].x);

  if (scale != nullptr) {
    *scale = {static_cast<float>(scales[0]), static_cast<float>(scales[1]), static_cast<float>(scales[2])};
  }
  if (angle != nullptr) *angle = {Degrees(heading), Degrees(pitch), Degrees(bank)};
  if (translation != nullptr) *translation = {matrix[12], matrix[13], matrix[14]};
}

bool InvertMatrix(const Matrix16& matrix, Matrix16* inverse) {
  double a[4][8];
  // The singularity test is relative to the axes' lengths only: the origin
  // row does not change whether the frame can be inverted, and a far origin
  // must not make a good frame count as singular.
  double rowLengths = 1;
  for (int r = 0; r < 4; ++r) {
    double squares = 0;
    for (int c = 0; c < 4; ++c) {
      a[r][c] = matrix[At(r, c)];
      squares += a[r][c] * a[r][c];
      a[r][c + 4] = r == c ? 1 : 0;
    }
    if (r < 3) rowLengths *= std::sqrt(squares);
  }
  if (!std::isfinite(rowLengths) || !(rowLengths > 0)) return false;

  // Gauss-Jordan elimination with partial pivoting; the product of the pivots
  // is the determinant up to sign.
  double determinant = 1;
  for (int column = 0; column < 4; ++column) {
    int pivot = column;
    for (int r = column + 1; r < 4; ++r) {
      if (std::fabs(a[r][column]) > std::fabs(a[pivot][column])) pivot = r;
    }
    if (pivot != column) {
      for (int c = 0; c < 8; ++c) std::swap(a[pivot][c], a[column][c]);
    }
    const double value = a[column][column];
    determinant *= value;
    if (value == 0) return false;
    for (int c = 0; c < 8; ++c) a[column][c] /= value;
    for (int r = 0; r < 4; ++r) {
      if (r == column) continue;
      const double factor = a[r][column];
      if (factor == 0) continue;
      for (int c = 0; c < 8; ++c) a[r][c] -= factor * a[column][c];
    }
  }
  if (!std::isfinite(determinant) || std::fabs(determinant) <= 1e-12 * rowLengths) return false;

  Matrix16 result{};
  for (int r = 0; r < 4; ++r) {
    for (int c = 0; c < 4; ++c) {
      const double value = a[r][c + 4];
      if (!std::isfinite(value)) return false;
      result[At(r, c)] = static_cast<float>(value);
    }
  }
  *inverse = result;
  return true;
}

}  // namespace mqhost
