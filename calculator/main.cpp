#include "project.h"

int main() { return vb::ThunRTMain(ZendaricProject()); }
