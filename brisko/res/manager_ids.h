// Resource ids of Brisko's manager part (included by brisko/BriskoResource.h).
#pragma once
