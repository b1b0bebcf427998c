#include "app/CMApplicationStartup.h"

int main(int argc, char** argv) { return runDraftwork(argc, argv); }
