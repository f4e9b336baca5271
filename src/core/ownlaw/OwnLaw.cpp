#include "core/ownlaw/OwnLaw.h"

#include "core/dynamics/ArmDynamics.h"
#include "core/dynamics/Integrator.h"
#include "core/language/Translation.h"
#include "core/ownlaw/LuaMatrix.h"
#include "core/servo/ArmJacobian.h"

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <numbers>
#include <type_traits>

namespace servo {

namespace {

constexpr const char* TooLongText = N_("your law took too long");
constexpr const char* TooMuchMemoryText = N_("your law needs too much memory");
constexpr const char* WrongReturnText =
    N_("your law must return three finite numbers (or a vector of three)");
constexpr const char* NoLawText = N_("your law defines no function law(s)");
constexpr const char* NoTorqueText = N_("your law defines no function torque(s)");
constexpr const char* TooLargeText = N_("your law is longer than 16384 bytes");
constexpr int HookEvery = 1000; // instructions between two looks at the budget

} // namespace

// The Lua state and what its limits have counted. Lua's allocator and hook reach it through
// the state's extra space.
struct OwnLaw::Sandbox {
    lua_State* lua = nullptr;
    std::size_t memoryUsed = 0;
    bool memoryRefused = false;
    long long instructionsLeft = 0;
    bool tooLong = false;
    int lastLine = 0; // where the hook last found the law
    int lawFunction = LUA_NOREF;
    int torqueFunction = LUA_NOREF;
};

namespace {

using Sandbox = OwnLaw::Sandbox;

Sandbox& sandboxOf(lua_State* L) {
    return **static_cast<Sandbox**>(lua_getextraspace(L));
}

// Lua's allocator, holding the state within LawMemoryLimit.
void* allocate(void* data, void* block, std::size_t oldSize, std::size_t newSize) {
    auto& box = *static_cast<Sandbox*>(data);
    const std::size_t before = block != nullptr ? oldSize : 0;
    if (newSize == 0) {
        std::free(block);
        box.memoryUsed -= before;
        return nullptr;
    }
    if (newSize > before && box.memoryUsed - before + newSize > LawMemoryLimit) {
        box.memoryRefused = true;
        return nullptr;
    }
    void* moved = std::realloc(block, newSize);
    if (moved != nullptr) {
        box.memoryUsed = box.memoryUsed - before + newSize;
    }
    return moved;
}

// Every HookEvery instructions: notes the line and stops a law past its budget.
void countHook(lua_State* L, lua_Debug* debug) {
    Sandbox& box = sandboxOf(L);
    if (lua_getinfo(L, "l", debug) != 0 && debug->currentline > 0) {
        box.lastLine = debug->currentline;
    }
    box.instructionsLeft -= HookEvery;
    if (box.instructionsLeft < 0) {
        box.tooLong = true;
        luaL_error(L, "too long");
    }
}

// string.rep, refusing a result larger than the memory limit (or as many repetitions, which
// take long even of an empty string) before it is made.
int boundedRep(lua_State* L) {
    std::size_t length = 0;
    std::size_t separator = 0;
    luaL_checklstring(L, 1, &length);
    const lua_Integer count = luaL_checkinteger(L, 2);
    luaL_optlstring(L, 3, "", &separator);
    const double limit = static_cast<double>(LawMemoryLimit);
    if (static_cast<double>(count) > limit ||
        static_cast<double>(count) * static_cast<double>(length + separator) > limit) {
        sandboxOf(L).memoryRefused = true;
        return luaL_error(L, "not enough memory");
    }
    lua_pushvalue(L, lua_upvalueindex(1));
    lua_insert(L, 1);
    lua_call(L, lua_gettop(L) - 1, 1);
    return 1;
}

void removeFields(lua_State* L, const char* table, std::initializer_list<const char*> names) {
    lua_getglobal(L, table);
    for (const char* name : names) {
        lua_pushnil(L);
        lua_setfield(L, -2, name);
    }
    lua_pop(L, 1);
}

// The libraries a law may use, without what reaches outside the state, loads code, catches
// the sandbox's errors, changes metatables or runs long in C.
void openLibraries(lua_State* L) {
    const luaL_Reg libraries[] = {{LUA_GNAME, luaopen_base},
                                  {LUA_STRLIBNAME, luaopen_string},
                                  {LUA_TABLIBNAME, luaopen_table},
                                  {LUA_MATHLIBNAME, luaopen_math},
                                  {LUA_UTF8LIBNAME, luaopen_utf8}};
    for (const luaL_Reg& library : libraries) {
        luaL_requiref(L, library.name, library.func, 1);
        lua_pop(L, 1);
    }
    lua_pushglobaltable(L);
    for (const char* name : {"collectgarbage", "dofile", "getmetatable", "load", "loadfile",
                             "loadstring", "pcall", "print", "rawequal", "rawget", "rawlen",
                             "rawset", "require", "setmetatable", "warn", "xpcall"}) {
        lua_pushnil(L);
        lua_setfield(L, -2, name);
    }
    lua_pop(L, 1);
    lua_getglobal(L, LUA_MATHLIBNAME); // the same random numbers on every run and replay
    lua_getfield(L, -1, "randomseed");
    lua_pushinteger(L, 1);
    lua_call(L, 1, 0);
    lua_pop(L, 1);
    removeFields(L, LUA_MATHLIBNAME, {"randomseed"});
    removeFields(L, LUA_STRLIBNAME, {"dump", "find", "gmatch", "gsub", "match"});
    removeFields(L, LUA_TABLIBNAME, {"move"});
    lua_getglobal(L, LUA_STRLIBNAME);
    lua_getfield(L, -1, "rep");
    lua_pushcclosure(L, boundedRep, 1);
    lua_setfield(L, -2, "rep");
    lua_pop(L, 1);
    openLuaMatrix(L);
}

// What applying a source hands the protected call, and what it gives back.
struct Applying {
    const char* source;
    std::size_t size;
    int law;
    int torque;
};
static_assert(std::is_trivially_destructible_v<Applying>);

int functionReference(lua_State* L, const char* name) {
    lua_getglobal(L, name);
    if (!lua_isfunction(L, -1)) {
        lua_pop(L, 1);
        return LUA_NOREF;
    }
    return luaL_ref(L, LUA_REGISTRYINDEX);
}

// Run protected: the libraries, then the source compiled (text only) and run.
int applyProtected(lua_State* L) {
    auto* applying = static_cast<Applying*>(lua_touserdata(L, 1));
    openLibraries(L);
    if (luaL_loadbufferx(L, applying->source, applying->size, "=law", "t") != LUA_OK) {
        return lua_error(L);
    }
    lua_call(L, 0, 0);
    applying->law = functionReference(L, "law");
    applying->torque = functionReference(L, "torque");
    return 0;
}

// What one call of law(s) or torque(s) is given and gives back, as plain numbers.
struct Calling {
    int function;
    bool dynamics;
    double q[3];
    double desired[2];
    double wrist;
    double e[3];
    double jacobian[3][3];
    double gain;
    double lambda;
    double dt;
    double speeds[3];
    double mass[3][3];
    double gravity[3];
    double coriolis[3];
    double reference[3];
    double kp[3];
    double kd[3];
    double results[3];
    bool wrongReturn;
};
static_assert(std::is_trivially_destructible_v<Calling>);

void setVector(lua_State* L, const char* name, const double* values, int count) {
    LuaMatrix* v = pushLuaMatrix(L, count, 1);
    for (int i = 0; i < count; ++i) {
        v->values[i] = values[i];
    }
    lua_setfield(L, -2, name);
}

void setMatrix(lua_State* L, const char* name, const double (*rows)[3], int count) {
    LuaMatrix* m = pushLuaMatrix(L, count, 3);
    for (int r = 0; r < count; ++r) {
        for (int c = 0; c < 3; ++c) {
            m->at(r, c) = rows[r][c];
        }
    }
    lua_setfield(L, -2, name);
}

void setDiagonal(lua_State* L, const char* name, const double* values) {
    LuaMatrix* m = pushLuaMatrix(L, 3, 3);
    for (int i = 0; i < 3; ++i) {
        m->at(i, i) = values[i];
    }
    lua_setfield(L, -2, name);
}

void setNumber(lua_State* L, const char* name, double value) {
    lua_pushnumber(L, value);
    lua_setfield(L, -2, name);
}

// The table s a law is called with.
void pushInputs(lua_State* L, const Calling& in) {
    lua_createtable(L, 0, 20);
    setVector(L, "q", in.q, 3);
    setVector(L, "desired", in.desired, 2);
    setNumber(L, "wrist", in.wrist);
    setVector(L, "e", in.e, 3);
    setMatrix(L, "J", in.jacobian, 3);
    setMatrix(L, "Jp", in.jacobian, 2);
    setNumber(L, "G", in.gain);
    setNumber(L, "lambda", in.lambda);
    setNumber(L, "dt", in.dt);
    lua_pushboolean(L, in.dynamics);
    lua_setfield(L, -2, "dynamics");
    if (in.dynamics) {
        setVector(L, "qdot", in.speeds, 3);
        setMatrix(L, "M", in.mass, 3);
        setVector(L, "g", in.gravity, 3);
        setVector(L, "C", in.coriolis, 3);
        setVector(L, "ref", in.reference, 3);
        setDiagonal(L, "Kp", in.kp);
        setDiagonal(L, "Kd", in.kd);
    }
}

// Three numbers, a table of three or a vector of three, all finite.
bool readResults(lua_State* L, int count, double results[3]) {
    if (count == 1 && lua_istable(L, 1) && luaL_len(L, 1) == 3) {
        for (int i = 0; i < 3; ++i) {
            lua_geti(L, 1, i + 1);
        }
        lua_remove(L, 1);
        count = 3;
    }
    if (count == 1) {
        const LuaMatrix* m = toLuaMatrix(L, 1);
        if (m == nullptr || m->rows * m->cols != 3 || (m->rows != 1 && m->cols != 1)) {
            return false;
        }
        std::memcpy(results, m->values, 3 * sizeof(double));
    } else if (count == 3) {
        for (int i = 0; i < 3; ++i) {
            if (lua_type(L, i + 1) != LUA_TNUMBER) {
                return false;
            }
            results[i] = lua_tonumber(L, i + 1);
        }
    } else {
        return false;
    }
    return std::isfinite(results[0]) && std::isfinite(results[1]) && std::isfinite(results[2]);
}

int callProtected(lua_State* L) {
    auto* calling = static_cast<Calling*>(lua_touserdata(L, 1));
    lua_settop(L, 0);
    lua_rawgeti(L, LUA_REGISTRYINDEX, calling->function);
    pushInputs(L, *calling);
    lua_call(L, 1, LUA_MULTRET);
    if (!readResults(L, lua_gettop(L), calling->results)) {
        calling->wrongReturn = true;
        return luaL_error(L, "wrong return");
    }
    return 0;
}

// "law:12: attempt to ..." as line 12 and the message.
LawError errorOf(std::string_view message) {
    constexpr std::string_view Chunk = "law:";
    LawError error{0, std::string(message)};
    if (!message.starts_with(Chunk)) {
        return error;
    }
    std::size_t end = Chunk.size();
    int line = 0;
    while (end < message.size() && message[end] >= '0' && message[end] <= '9' && line < 1000000) {
        line = line * 10 + (message[end] - '0');
        ++end;
    }
    if (end > Chunk.size() && message.substr(end).starts_with(": ")) {
        error = {line, std::string(message.substr(end + 2))};
    }
    return error;
}

// A protected call's error, in the sandbox's own words where a limit stopped it.
LawError failure(Sandbox& box, int function) {
    lua_State* L = box.lua;
    const char* text = lua_type(L, -1) == LUA_TSTRING ? lua_tostring(L, -1) : nullptr;
    LawError error = errorOf(text != nullptr ? text : "error object is not a string");
    if (box.tooLong) {
        error = {box.lastLine, TooLongText};
    } else if (box.memoryRefused) {
        error = {error.line != 0 ? error.line : box.lastLine, TooMuchMemoryText};
    } else if (function != LUA_NOREF && error.message == "wrong return") {
        lua_Debug debug{};
        lua_rawgeti(L, LUA_REGISTRYINDEX, function);
        error = {lua_getinfo(L, ">S", &debug) != 0 ? debug.linedefined : 0, WrongReturnText};
    }
    lua_settop(L, 0);
    return error;
}

// A protected call of `function` (a C function taking the light userdata) within the budget.
int runProtected(Sandbox& box, lua_CFunction function, void* data) {
    box.instructionsLeft = LawInstructionBudget;
    box.tooLong = false;
    box.memoryRefused = false;
    lua_settop(box.lua, 0);
    lua_pushcfunction(box.lua, function);
    lua_pushlightuserdata(box.lua, data);
    return lua_pcall(box.lua, 1, 0, 0);
}

void fillCommon(Calling& in, const SimulationState& state, const Vector3& q) {
    const Vector3 now = taskOf(state, q[0], q[1], q[2]);
    const double hand = q[0] + q[1] + q[2];
    const double turn = std::remainder(state.wristSetting - hand, 2 * std::numbers::pi);
    const double e[3] = {state.desiredX - now[0], state.desiredY - now[1],
                         state.upperArmLength * turn};
    const Matrix3 j = taskJacobian(state, q[0], q[1], q[2]);
    for (int i = 0; i < 3; ++i) {
        in.q[i] = q[i];
        in.e[i] = e[i];
        for (int c = 0; c < 3; ++c) {
            in.jacobian[i][c] = j[i][c];
        }
    }
    in.desired[0] = state.desiredX;
    in.desired[1] = state.desiredY;
    in.wrist = state.wristSetting;
    in.gain = state.gain;
    in.lambda = state.dampingLambda;
}

void fillDynamics(Calling& in, const ArmParameters& model, const Vector3& speeds,
                  const SimulationState& state, const JointGains& gains) {
    const Vector3 q{in.q[0], in.q[1], in.q[2]};
    const ArmTerms terms = armTerms(model, q, speeds, state.objectHeld == 1);
    in.dynamics = true;
    for (int i = 0; i < 3; ++i) {
        in.speeds[i] = speeds[i];
        in.gravity[i] = terms.gravity[i];
        in.coriolis[i] = terms.coriolis[i];
        in.reference[i] = state.dynamics.reference[i];
        in.kp[i] = gains.kp[i];
        in.kd[i] = gains.kd[i];
        for (int c = 0; c < 3; ++c) {
            in.mass[i][c] = terms.mass[i][c];
        }
    }
}

} // namespace

OwnLaw::OwnLaw() = default;

OwnLaw::~OwnLaw() {
    close();
}

void OwnLaw::close() {
    if (sandbox_ && sandbox_->lua != nullptr) {
        lua_close(sandbox_->lua);
    }
    sandbox_.reset();
}

void OwnLaw::stop(LawError error) {
    close();
    status_ = LawStatus::Stopped;
    error_ = std::move(error);
    ++errorCount_;
}

void OwnLaw::apply(std::string_view source) {
    close();
    source_ = std::string(source);
    error_ = {};
    hasTorque_ = false;
    status_ = LawStatus::Empty;
    if (source.empty()) {
        return;
    }
    if (source.size() > MaxLawBytes) {
        stop({0, TooLargeText});
        return;
    }
    sandbox_ = std::make_unique<Sandbox>();
    Sandbox& box = *sandbox_;
    box.lua = lua_newstate(allocate, &box);
    if (box.lua == nullptr) {
        stop({0, TooMuchMemoryText});
        return;
    }
    *static_cast<Sandbox**>(lua_getextraspace(box.lua)) = &box;
    lua_sethook(box.lua, countHook, LUA_MASKCOUNT, HookEvery);
    Applying applying{source_.data(), source_.size(), LUA_NOREF, LUA_NOREF};
    if (runProtected(box, applyProtected, &applying) != LUA_OK) {
        stop(failure(box, LUA_NOREF));
        return;
    }
    if (applying.law == LUA_NOREF) {
        stop({0, NoLawText});
        return;
    }
    box.lawFunction = applying.law;
    box.torqueFunction = applying.torque;
    hasTorque_ = applying.torque != LUA_NOREF;
    status_ = LawStatus::Running;
}

bool OwnLaw::jointSteps(const SimulationState& state, Vector3& steps) {
    if (status_ != LawStatus::Running) {
        return false;
    }
    Calling in{};
    in.function = sandbox_->lawFunction;
    fillCommon(in, state, {state.shoulderAngle, state.elbowAngle, state.wristAngle});
    in.dt = LabStepSeconds;
    if (state.dynamics.on) {
        const DynamicsState& dynamics = state.dynamics;
        fillDynamics(in, scaledMasses(Arm, dynamics.modelErrorPercent), dynamics.speeds, state,
                     jointGains(Arm, dynamics.naturalFrequency, dynamics.dampingRatio));
    }
    if (runProtected(*sandbox_, callProtected, &in) != LUA_OK) {
        stop(failure(*sandbox_, in.function));
        return false;
    }
    steps = {in.results[0], in.results[1], in.results[2]};
    return true;
}

bool OwnLaw::jointTorques(const MotorInput& input, Vector3& torques) {
    if (status_ != LawStatus::Running) {
        return false;
    }
    if (!hasTorque_) {
        stop({0, NoTorqueText});
        return false;
    }
    Calling in{};
    in.function = sandbox_->torqueFunction;
    fillCommon(in, input.state, input.angles);
    in.dt = InternalStepSeconds;
    fillDynamics(in, input.model, input.speeds, input.state, input.gains);
    for (int i = 0; i < 3; ++i) {
        in.reference[i] = input.reference[i];
    }
    if (runProtected(*sandbox_, callProtected, &in) != LUA_OK) {
        stop(failure(*sandbox_, in.function));
        return false;
    }
    torques = {in.results[0], in.results[1], in.results[2]};
    return true;
}

} // namespace servo
