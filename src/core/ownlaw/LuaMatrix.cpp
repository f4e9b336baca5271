#include "core/ownlaw/LuaMatrix.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>

// Every function here may raise a Lua error (a longjmp): none keeps an object with a destructor.
namespace servo {

namespace {

constexpr const char* TypeName = "servo.matrix";
constexpr int Max = MaxMatrixSize;

LuaMatrix* check(lua_State* L, int index) {
    return static_cast<LuaMatrix*>(luaL_checkudata(L, index, TypeName));
}

int sizeArgument(lua_State* L, int index) {
    const lua_Integer n = luaL_checkinteger(L, index);
    luaL_argcheck(L, n >= 1 && n <= Max, index, "a size from 1 to 6");
    return static_cast<int>(n);
}

bool isVector(const LuaMatrix& m) {
    return m.cols == 1 || m.rows == 1;
}

// vec(a, b, ...) or vec{a, b, ...}: a column.
int vec(lua_State* L) {
    const bool table = lua_istable(L, 1);
    const int n = table ? static_cast<int>(luaL_len(L, 1)) : lua_gettop(L);
    luaL_argcheck(L, n >= 1 && n <= Max, 1, "from 1 to 6 numbers");
    LuaMatrix* v = pushLuaMatrix(L, n, 1);
    for (int i = 0; i < n; ++i) {
        if (table) {
            lua_geti(L, 1, i + 1);
            v->values[i] = luaL_checknumber(L, -1);
            lua_pop(L, 1);
        } else {
            v->values[i] = luaL_checknumber(L, i + 1);
        }
    }
    return 1;
}

// mat{{a, b}, {c, d}}: rows of numbers, all as long.
int mat(lua_State* L) {
    luaL_checktype(L, 1, LUA_TTABLE);
    const lua_Integer rows = luaL_len(L, 1);
    luaL_argcheck(L, rows >= 1 && rows <= Max, 1, "from 1 to 6 rows");
    lua_geti(L, 1, 1);
    luaL_argcheck(L, lua_istable(L, -1), 1, "rows are tables of numbers");
    const lua_Integer cols = luaL_len(L, -1);
    lua_pop(L, 1);
    luaL_argcheck(L, cols >= 1 && cols <= Max, 1, "from 1 to 6 columns");
    LuaMatrix* m = pushLuaMatrix(L, static_cast<int>(rows), static_cast<int>(cols));
    for (int r = 0; r < m->rows; ++r) {
        lua_geti(L, 1, r + 1);
        luaL_argcheck(L, lua_istable(L, -1) && luaL_len(L, -1) == cols, 1,
                      "rows of the same length");
        for (int c = 0; c < m->cols; ++c) {
            lua_geti(L, -1, c + 1);
            m->at(r, c) = luaL_checknumber(L, -1);
            lua_pop(L, 1);
        }
        lua_pop(L, 1);
    }
    return 1;
}

int eye(lua_State* L) {
    const int n = sizeArgument(L, 1);
    LuaMatrix* m = pushLuaMatrix(L, n, n);
    for (int i = 0; i < n; ++i) {
        m->at(i, i) = 1;
    }
    return 1;
}

int zeros(lua_State* L) {
    pushLuaMatrix(L, sizeArgument(L, 1), sizeArgument(L, 2));
    return 1;
}

int transpose(lua_State* L) {
    const LuaMatrix* m = check(L, 1);
    LuaMatrix* t = pushLuaMatrix(L, m->cols, m->rows);
    for (int r = 0; r < m->rows; ++r) {
        for (int c = 0; c < m->cols; ++c) {
            t->at(c, r) = m->at(r, c);
        }
    }
    return 1;
}

int dot(lua_State* L) {
    const LuaMatrix* a = check(L, 1);
    const LuaMatrix* b = check(L, 2);
    luaL_argcheck(L, isVector(*a) && isVector(*b) && a->rows * a->cols == b->rows * b->cols, 2,
                  "two vectors of the same length");
    double sum = 0;
    for (int i = 0; i < a->rows * a->cols; ++i) {
        sum += a->values[i] * b->values[i];
    }
    lua_pushnumber(L, sum);
    return 1;
}

int norm(lua_State* L) {
    const LuaMatrix* m = check(L, 1);
    double sum = 0;
    for (int i = 0; i < m->rows * m->cols; ++i) {
        sum += m->values[i] * m->values[i];
    }
    lua_pushnumber(L, std::sqrt(sum));
    return 1;
}

// Gauss-Jordan elimination with partial pivoting of the square a against b (n x k), both
// changed in place: b becomes a^-1 b. The determinant, 0 for a singular a.
double eliminate(LuaMatrix& a, LuaMatrix& b) {
    const int n = a.rows;
    double det = 1;
    for (int col = 0; col < n; ++col) {
        int pivot = col;
        for (int r = col + 1; r < n; ++r) {
            if (std::abs(a.at(r, col)) > std::abs(a.at(pivot, col))) {
                pivot = r;
            }
        }
        if (a.at(pivot, col) == 0) {
            return 0;
        }
        if (pivot != col) {
            det = -det;
            for (int c = 0; c < n; ++c) {
                const double x = a.at(col, c);
                a.at(col, c) = a.at(pivot, c);
                a.at(pivot, c) = x;
            }
            for (int c = 0; c < b.cols; ++c) {
                const double x = b.at(col, c);
                b.at(col, c) = b.at(pivot, c);
                b.at(pivot, c) = x;
            }
        }
        const double p = a.at(col, col);
        det *= p;
        for (int r = 0; r < n; ++r) {
            if (r == col || a.at(r, col) == 0) {
                continue;
            }
            const double factor = a.at(r, col) / p;
            for (int c = 0; c < n; ++c) {
                a.at(r, c) -= factor * a.at(col, c);
            }
            for (int c = 0; c < b.cols; ++c) {
                b.at(r, c) -= factor * b.at(col, c);
            }
        }
    }
    for (int r = 0; r < n; ++r) {
        for (int c = 0; c < b.cols; ++c) {
            b.at(r, c) /= a.at(r, r);
        }
    }
    return det;
}

bool allFinite(const LuaMatrix& m) {
    for (int i = 0; i < m.rows * m.cols; ++i) {
        if (!std::isfinite(m.values[i])) {
            return false;
        }
    }
    return true;
}

const LuaMatrix* checkSquare(lua_State* L, int index) {
    const LuaMatrix* m = check(L, index);
    luaL_argcheck(L, m->rows == m->cols, index, "a square matrix");
    return m;
}

int inv(lua_State* L) {
    LuaMatrix a = *checkSquare(L, 1);
    LuaMatrix* b = pushLuaMatrix(L, a.rows, a.rows);
    for (int i = 0; i < a.rows; ++i) {
        b->at(i, i) = 1;
    }
    if (eliminate(a, *b) == 0 || !allFinite(*b)) {
        return luaL_error(L, "inv: the matrix is singular");
    }
    return 1;
}

int solve(lua_State* L) {
    LuaMatrix a = *checkSquare(L, 1);
    const LuaMatrix* b = check(L, 2);
    luaL_argcheck(L, b->rows == a.rows, 2, "as many rows as the matrix");
    LuaMatrix* x = pushLuaMatrix(L, b->rows, b->cols);
    *x = *b;
    if (eliminate(a, *x) == 0 || !allFinite(*x)) {
        return luaL_error(L, "solve: the matrix is singular");
    }
    return 1;
}

int det(lua_State* L) {
    LuaMatrix a = *checkSquare(L, 1);
    LuaMatrix none{a.rows, 0, {}};
    lua_pushnumber(L, eliminate(a, none));
    return 1;
}

// The eigenvalues (into d) and eigenvectors (the columns of v) of the symmetric s, by Jacobi
// rotations.
void symmetricEigen(LuaMatrix s, double d[Max], LuaMatrix& v) {
    const int n = s.rows;
    v = LuaMatrix{n, n, {}};
    for (int i = 0; i < n; ++i) {
        v.at(i, i) = 1;
    }
    for (int sweep = 0; sweep < 60; ++sweep) {
        double off = 0;
        for (int p = 0; p < n; ++p) {
            for (int q = p + 1; q < n; ++q) {
                off += s.at(p, q) * s.at(p, q);
            }
        }
        if (off == 0) {
            break;
        }
        for (int p = 0; p < n; ++p) {
            for (int q = p + 1; q < n; ++q) {
                if (s.at(p, q) == 0) {
                    continue;
                }
                const double theta = (s.at(q, q) - s.at(p, p)) / (2 * s.at(p, q));
                const double t =
                    (theta >= 0 ? 1 : -1) / (std::abs(theta) + std::sqrt(theta * theta + 1));
                const double c = 1 / std::sqrt(t * t + 1);
                const double sn = t * c;
                for (int k = 0; k < n; ++k) { // s = s R
                    const double skp = s.at(k, p);
                    const double skq = s.at(k, q);
                    s.at(k, p) = c * skp - sn * skq;
                    s.at(k, q) = sn * skp + c * skq;
                }
                for (int k = 0; k < n; ++k) { // s = R^T s
                    const double spk = s.at(p, k);
                    const double sqk = s.at(q, k);
                    s.at(p, k) = c * spk - sn * sqk;
                    s.at(q, k) = sn * spk + c * sqk;
                }
                for (int k = 0; k < n; ++k) {
                    const double vkp = v.at(k, p);
                    const double vkq = v.at(k, q);
                    v.at(k, p) = c * vkp - sn * vkq;
                    v.at(k, q) = sn * vkp + c * vkq;
                }
            }
        }
    }
    for (int i = 0; i < n; ++i) {
        d[i] = s.at(i, i);
    }
}

// The Moore-Penrose pseudo-inverse: V D^+ V^T A^T from A^T A = V D V^T, singular values below
// max(rows, cols) eps times the largest taken as zero.
int pinv(lua_State* L) {
    const LuaMatrix* a = check(L, 1);
    const int n = a->cols;
    LuaMatrix ata{n, n, {}};
    for (int r = 0; r < n; ++r) {
        for (int c = 0; c < n; ++c) {
            for (int k = 0; k < a->rows; ++k) {
                ata.at(r, c) += a->at(k, r) * a->at(k, c);
            }
        }
    }
    double d[Max]{};
    LuaMatrix v{};
    symmetricEigen(ata, d, v);
    double largest = 0;
    for (int i = 0; i < n; ++i) {
        largest = std::max(largest, d[i]);
    }
    const double size = std::max(a->rows, a->cols);
    const double tolerance = size * std::numeric_limits<double>::epsilon() * std::sqrt(largest);
    LuaMatrix* p = pushLuaMatrix(L, n, a->rows);
    for (int r = 0; r < n; ++r) {
        for (int c = 0; c < a->rows; ++c) {
            double sum = 0;
            for (int i = 0; i < n; ++i) {
                if (d[i] > 0 && std::sqrt(d[i]) > tolerance) {
                    double vta = 0; // (V^T A^T)[i][c]
                    for (int k = 0; k < n; ++k) {
                        vta += v.at(k, i) * a->at(c, k);
                    }
                    sum += v.at(r, i) / d[i] * vta;
                }
            }
            p->at(r, c) = sum;
        }
    }
    return 1;
}

// a + b or a - b (sign -1).
int combine(lua_State* L, double sign) {
    const LuaMatrix* a = check(L, 1);
    const LuaMatrix* b = check(L, 2);
    if (a->rows != b->rows || a->cols != b->cols) {
        return luaL_error(L, "%dx%d and %dx%d matrices do not add up", a->rows, a->cols, b->rows,
                          b->cols);
    }
    LuaMatrix* sum = pushLuaMatrix(L, a->rows, a->cols);
    for (int i = 0; i < a->rows * a->cols; ++i) {
        sum->values[i] = a->values[i] + sign * b->values[i];
    }
    return 1;
}

int add(lua_State* L) {
    return combine(L, 1);
}

int subtract(lua_State* L) {
    return combine(L, -1);
}

int scaledBy(lua_State* L, const LuaMatrix* m, double factor) {
    LuaMatrix* p = pushLuaMatrix(L, m->rows, m->cols);
    for (int i = 0; i < m->rows * m->cols; ++i) {
        p->values[i] = m->values[i] * factor;
    }
    return 1;
}

int multiply(lua_State* L) {
    if (lua_isnumber(L, 1)) {
        return scaledBy(L, check(L, 2), lua_tonumber(L, 1));
    }
    if (lua_isnumber(L, 2)) {
        return scaledBy(L, check(L, 1), lua_tonumber(L, 2));
    }
    const LuaMatrix* a = check(L, 1);
    const LuaMatrix* b = check(L, 2);
    if (a->cols != b->rows) {
        return luaL_error(L,
                          "%dx%d times %dx%d: the columns of the first must match the rows of "
                          "the second",
                          a->rows, a->cols, b->rows, b->cols);
    }
    LuaMatrix* p = pushLuaMatrix(L, a->rows, b->cols);
    for (int r = 0; r < a->rows; ++r) {
        for (int c = 0; c < b->cols; ++c) {
            double sum = 0;
            for (int k = 0; k < a->cols; ++k) {
                sum += a->at(r, k) * b->at(k, c);
            }
            p->at(r, c) = sum;
        }
    }
    return 1;
}

int divide(lua_State* L) {
    return scaledBy(L, check(L, 1), 1 / luaL_checknumber(L, 2));
}

int negate(lua_State* L) {
    return scaledBy(L, check(L, 1), -1);
}

int length(lua_State* L) {
    const LuaMatrix* m = check(L, 1);
    lua_pushinteger(L, isVector(*m) ? m->rows * m->cols : m->rows);
    return 1;
}

int equal(lua_State* L) {
    const LuaMatrix* a = check(L, 1);
    const LuaMatrix* b = check(L, 2);
    bool same = a->rows == b->rows && a->cols == b->cols;
    for (int i = 0; same && i < a->rows * a->cols; ++i) {
        same = a->values[i] == b->values[i];
    }
    lua_pushboolean(L, same);
    return 1;
}

int text(lua_State* L) {
    const LuaMatrix* m = check(L, 1);
    luaL_Buffer b;
    luaL_buffinit(L, &b);
    for (int r = 0; r < m->rows; ++r) {
        luaL_addstring(&b, r == 0 ? "[" : "; ");
        for (int c = 0; c < m->cols; ++c) {
            char number[32];
            std::snprintf(number, sizeof number, c == 0 ? "%.6g" : " %.6g", m->at(r, c));
            luaL_addstring(&b, number);
        }
    }
    luaL_addstring(&b, "]");
    luaL_pushresult(&b);
    return 1;
}

// The index (1-based) at stack index `index` checked against `count`, from 0.
int checkedIndex(lua_State* L, int index, int count) {
    const lua_Integer i = luaL_checkinteger(L, index);
    if (i < 1 || i > count) {
        return luaL_error(L, "index %I is outside 1..%d", static_cast<LUAI_UACINT>(i), count);
    }
    return static_cast<int>(i - 1);
}

int get(lua_State* L) {
    const LuaMatrix* m = check(L, 1);
    const int r = checkedIndex(L, 2, m->rows);
    const int c = checkedIndex(L, 3, m->cols);
    lua_pushnumber(L, m->at(r, c));
    return 1;
}

int set(lua_State* L) {
    LuaMatrix* m = check(L, 1);
    const int r = checkedIndex(L, 2, m->rows);
    const int c = checkedIndex(L, 3, m->cols);
    m->at(r, c) = luaL_checknumber(L, 4);
    return 0;
}

// v[i] (a vector's element), m[i] (a matrix's row i), m.T, m.rows, m.cols and the methods.
int index(lua_State* L) {
    const LuaMatrix* m = check(L, 1);
    if (lua_type(L, 2) == LUA_TSTRING) {
        const char* key = lua_tostring(L, 2);
        if (std::strcmp(key, "T") == 0) {
            lua_settop(L, 1);
            return transpose(L);
        }
        if (std::strcmp(key, "rows") == 0 || std::strcmp(key, "cols") == 0) {
            lua_pushinteger(L, key[0] == 'r' ? m->rows : m->cols);
            return 1;
        }
        lua_getfield(L, lua_upvalueindex(1), key); // the methods, or nil
        return 1;
    }
    if (isVector(*m)) {
        lua_pushnumber(L, m->values[checkedIndex(L, 2, m->rows * m->cols)]);
        return 1;
    }
    const int r = checkedIndex(L, 2, m->rows);
    LuaMatrix* row = pushLuaMatrix(L, 1, m->cols);
    for (int c = 0; c < m->cols; ++c) {
        row->values[c] = m->at(r, c);
    }
    return 1;
}

int newIndex(lua_State* L) {
    LuaMatrix* m = check(L, 1);
    if (!isVector(*m)) {
        return luaL_error(L, "set a matrix's element with m:set(i, j, x)");
    }
    m->values[checkedIndex(L, 2, m->rows * m->cols)] = luaL_checknumber(L, 3);
    return 0;
}

} // namespace

LuaMatrix* pushLuaMatrix(lua_State* L, int rows, int cols) {
    auto* m = static_cast<LuaMatrix*>(lua_newuserdatauv(L, sizeof(LuaMatrix), 0));
    *m = LuaMatrix{rows, cols, {}};
    luaL_setmetatable(L, TypeName);
    return m;
}

const LuaMatrix* toLuaMatrix(lua_State* L, int index) {
    return static_cast<const LuaMatrix*>(luaL_testudata(L, index, TypeName));
}

void openLuaMatrix(lua_State* L) {
    static const luaL_Reg operators[] = {
        {"__add", add},           {"__sub", subtract}, {"__mul", multiply}, {"__div", divide},
        {"__unm", negate},        {"__len", length},   {"__eq", equal},     {"__tostring", text},
        {"__newindex", newIndex}, {nullptr, nullptr}};
    static const luaL_Reg methods[] = {{"get", get}, {"set", set}, {nullptr, nullptr}};
    static const luaL_Reg functions[] = {{"vec", vec},     {"mat", mat},     {"eye", eye},
                                         {"zeros", zeros}, {"t", transpose}, {"dot", dot},
                                         {"inv", inv},     {"pinv", pinv},   {"solve", solve},
                                         {"det", det},     {"norm", norm},   {nullptr, nullptr}};
    luaL_newmetatable(L, TypeName);
    luaL_setfuncs(L, operators, 0);
    luaL_newlib(L, methods);
    lua_pushcclosure(L, index, 1);
    lua_setfield(L, -2, "__index");
    lua_pushliteral(L, "matrix");
    lua_setfield(L, -2, "__metatable"); // getmetatable tells, setmetatable refuses
    lua_pop(L, 1);
    lua_pushglobaltable(L);
    luaL_setfuncs(L, functions, 0);
    lua_pop(L, 1);
}

} // namespace servo
