#define ID_BASE 5
#define ID_FIRST 6
#define ID_SECOND 7
