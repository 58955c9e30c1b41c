// Resource ids of Brisko's commands part (included by brisko/BriskoResource.h).
#pragma once
