#pragma once

#include <lua.hpp>

#include <type_traits>

namespace servo {

// The small vector and matrix type of the student's laws, a Lua userdata: vectors are columns
// (n x 1), indexed from 1 as v[1]; m[i] is row i of a matrix (so m[i][j] is an element), also
// m:get(i, j); m.T is the transpose, m.rows and m.cols its size. + - * (a scalar or the matrix
// product), / by a scalar and unary -; the functions vec(...), mat{{...}, ...}, eye(n),
// zeros(r, c), t(m), dot(a, b), inv(m), pinv(m), solve(A, b), det(m), norm(m).
//
// The C functions behind it raise Lua errors, which unwind by longjmp: they keep only plain
// values (no destructors) in their frames.
inline constexpr int MaxMatrixSize = 6; // rows or columns

struct LuaMatrix {
    int rows;
    int cols;
    double values[MaxMatrixSize * MaxMatrixSize]; // row by row

    double& at(int row, int col) { return values[row * cols + col]; } // from 0
    double at(int row, int col) const { return values[row * cols + col]; }
};
static_assert(std::is_trivially_destructible_v<LuaMatrix>);

// Puts the type's metatable and its functions (vec, mat, ...) into the state's globals.
void openLuaMatrix(lua_State* state);

// A new rows x cols matrix of zeros on the stack (both 1..MaxMatrixSize).
LuaMatrix* pushLuaMatrix(lua_State* state, int rows, int cols);

// The matrix at that stack index, or nullptr for any other value.
const LuaMatrix* toLuaMatrix(lua_State* state, int index);

} // namespace servo
