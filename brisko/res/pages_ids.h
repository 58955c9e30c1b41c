// Resource ids of Brisko's pages part (included by brisko/BriskoResource.h).
#pragma once
