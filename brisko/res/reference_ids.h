// Resource ids of Brisko's reference part (included by brisko/BriskoResource.h).
#pragma once
