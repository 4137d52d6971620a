// Result layouts (being built).
namespace fexpr::format {}
