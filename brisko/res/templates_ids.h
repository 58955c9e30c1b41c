// Resource ids of Brisko's templates part (included by brisko/BriskoResource.h).
#pragma once
