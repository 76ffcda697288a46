// The command line comes next.
namespace {}
