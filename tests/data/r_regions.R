# Reference numbers for the regions of significance and the crossovers of
# every form, on the fits of r_fits.R. Run from anywhere:
#   Rscript tests/data/r_regions.R > tests/data/r_regions.txt
#
# The bounds are not taken from the closed form the program uses: for each
# effect e(u) = P.b + u Q.b the t statistic |e(u)| / sqrt((P + uQ)' V (P + uQ))
# is scanned over the whole line (u = s tan(theta)), and every change of its
# side of the critical value is refined by uniroot. Fieller's intervals are
# found the same way for the difference of two lines. The delta-method SE of
# a crossing comes from the gradient of x*(b) = -(dM.b) / (dL.b), checked
# against numDeriv's numerical gradient.
#
# Output, tab-separated, numbers with 17 significant digits:
#   fit <form> <df>
#   weights <form> <values in the form's order>
#   vcov <form> <cells, row by row>
#   sd <form> <stdx> <stdz> <stdv>          (0 where the form has none)
#   zvalues <form> <hiz> <medz> <loz>
#   held <form> <control values>
#   region <form> <t|normal> <level> <effect, from 1> <kind> <lower> <upper>
#   crossover <form> <t|normal> <level> <k> <l> <all|pair> <x> <se> <kind> <lower> <upper>
# with NA for a bound the kind does not use, and lines k < l counted from 1.

args <- commandArgs(trailingOnly = FALSE)
here <- dirname(normalizePath(sub("^--file=", "", args[grep("^--file=", args)])))
source(file.path(here, "r_fits.R"))
fits <- marvane_fits()

num <- function(x) ifelse(is.na(x), "NA", sprintf("%.17g", x))
out <- function(...) cat(paste(c(...), collapse = "\t"), "\n", sep = "")

unit <- function(n, i, value = 1) { v <- numeric(n); v[i] <- value; v }

# The effects (P, Q) and the lines (L slope, M intercept) of each form, over
# its weights in their order.
form_effects <- function(f) {
  w <- names(f$weights); n <- length(w); at <- function(box) match(box, w)
  e <- function(p, q) list(p = p, q = q)
  switch(f$form,
    Quant = , QuantZ = , Incomplete = list(e(unit(n, at("bx")), unit(n, at("bxz")))),
    Mixed2 = list(e(unit(n, at("bz")), unit(n, at("bxz")))),
    Mixed3 = list(e(unit(n, at("bz1")), unit(n, at("bxz1"))),
                  e(unit(n, at("bz2")), unit(n, at("bxz2"))),
                  e(unit(n, at("bz1")) - unit(n, at("bz2")), unit(n, at("bxz1")) - unit(n, at("bxz2")))),
    Quant3 = c(lapply(c(f$stdv, -f$stdv), function(v)
                 e(unit(n, at("bx")) + unit(n, at("bxv"), v), unit(n, at("bxz")) + unit(n, at("bxzv"), v))),
               lapply(c(f$stdz, -f$stdz), function(z)
                 e(unit(n, at("bx")) + unit(n, at("bxz"), z), unit(n, at("bxv")) + unit(n, at("bxzv"), z)))))
}

form_lines <- function(f) {
  w <- names(f$weights); n <- length(w); at <- function(box) match(box, w)
  line <- function(L, M) list(L = L, M = M)
  two <- function(zs, held = numeric(0)) lapply(zs, function(z)
    line(c(0, 1, 0, z, rep(0, length(held))), c(1, 0, z, 0, held)))
  switch(f$form,
    Quant = two(c(f$stdz, 0, -f$stdz)),
    QuantZ = two(f$zvalues),
    Incomplete = two(c(f$stdz, 0, -f$stdz), f$held),
    Mixed2 = list(line(c(0, 1, 0, 1), c(1, 0, 1, 0)), line(c(0, 1, 0, 0), c(1, 0, 0, 0))),
    Mixed3 = list(line(unit(n, 2) + unit(n, at("bxz1")), unit(n, 1) + unit(n, at("bz1"))),
                  line(unit(n, 2) + unit(n, at("bxz2")), unit(n, 1) + unit(n, at("bz2"))),
                  line(unit(n, 2), unit(n, 1))),
    Quant3 = lapply(list(c(1, 1), c(1, -1), c(-1, 1), c(-1, -1)), function(s) {
      z <- s[1] * f$stdz; v <- s[2] * f$stdv
      line(c(0, 1, 0, 0, z, v, 0, z * v), c(1, 0, z, v, 0, 0, z * v, 0))
    }))
}

# The set where |P.b + u Q.b| / SE(u) > crit, by scan and uniroot: its kind
# and sorted bounds.
scan_region <- function(p, q, b, V, crit) {
  stat <- function(u) { c <- p + u * q; abs(sum(c * b)) / sqrt(drop(t(c) %*% V %*% c)) }
  f <- function(u) stat(u) - crit
  s <- sqrt(drop(t(p) %*% V %*% p) / drop(t(q) %*% V %*% q))
  theta <- seq(-pi / 2, pi / 2, length.out = 200001)[-c(1, 200001)]
  u <- s * tan(theta)
  # the scan in one go from P'VP, P'VQ and Q'VQ; the refinement from the
  # whole combination vector
  v0 <- drop(t(p) %*% V %*% p); v01 <- drop(t(p) %*% V %*% q); v1 <- drop(t(q) %*% V %*% q)
  fu <- abs(sum(p * b) + u * sum(q * b)) / sqrt(v0 + 2 * u * v01 + u^2 * v1) - crit
  change <- which(diff(sign(fu)) != 0)
  roots <- vapply(change, function(i)
    uniroot(f, c(u[i], u[i + 1]), tol = 1e-15 * max(1, abs(u[i])), maxiter = 10000)$root, 0)
  # the sign far out on either side: |Q.b| / sqrt(Q'VQ) against crit
  far <- abs(sum(q * b)) / sqrt(drop(t(q) %*% V %*% q)) - crit
  kind <- if (length(roots) == 0) {
    if (far > 0) "everywhere" else "nowhere"
  } else if (length(roots) == 1) {
    if (fu[1] > 0) "below" else "above"
  } else if (length(roots) == 2) {
    if (far > 0) "outside" else "between"
  } else stop("more than two roots")
  list(kind = kind, bounds = c(sort(roots), NA, NA)[1:2])
}

references <- list(list(name = "t", level = 0.95), list(name = "t", level = 0.90),
                   list(name = "normal", level = 0.95), list(name = "normal", level = 0.90))
critical <- function(r, df) {
  if (r$name == "t") qt(1 - (1 - r$level) / 2, df) else qnorm(1 - (1 - r$level) / 2)
}

cat("# Made by tests/data/r_regions.R with ", R.version.string, "\n", sep = "")
for (f in fits) {
  b <- unname(f$weights); V <- unname(f$vcov)
  out("fit", f$form, f$df)
  out("weights", f$form, num(b))
  out("vcov", f$form, num(as.vector(t(V))))
  out("sd", f$form, num(f$stdx), num(if (is.null(f$stdz)) 0 else f$stdz), num(if (is.null(f$stdv)) 0 else f$stdv))
  if (!is.null(f$zvalues) && f$form == "QuantZ") out("zvalues", f$form, num(f$zvalues))
  if (!is.null(f$held)) out("held", f$form, num(f$held))

  effects <- form_effects(f)
  lines <- form_lines(f)
  meet <- f$form %in% c("Quant", "QuantZ", "Incomplete")
  for (r in references) {
    crit <- critical(r, f$df)
    for (i in seq_along(effects)) {
      reg <- scan_region(effects[[i]]$p, effects[[i]]$q, b, V, crit)
      out("region", f$form, r$name, num(r$level), i, reg$kind, num(reg$bounds))
    }
    pairs <- if (meet) list(c(1, 3)) else combn(length(lines), 2, simplify = FALSE)
    for (kl in pairs) {
      k <- kl[1]; l <- kl[2]
      dM <- lines[[k]]$M - lines[[l]]$M; dL <- lines[[k]]$L - lines[[l]]$L
      if (sum(dL * b) == 0) next
      xstar <- function(beta) -sum(dM * beta) / sum(dL * beta)
      x <- if (meet) -f$weights[["bz"]] / f$weights[["bxz"]] else xstar(b)
      g <- -(dM + x * dL) / sum(dL * b)
      gn <- numDeriv::grad(xstar, b)
      stopifnot(all(abs(g - gn) <= 1e-6 * max(abs(g))))
      se <- sqrt(drop(t(g) %*% V %*% g))
      # Fieller: where the difference is not significant
      reg <- scan_region(dM, dL, b, V, crit)
      kind <- switch(reg$kind, outside = "interval", between = "outside", nowhere = "everywhere",
                     above = "below", below = "above", stop("the difference is significant everywhere"))
      out("crossover", f$form, r$name, num(r$level), k, l, if (meet) "all" else "pair", num(x), num(se), kind,
          num(reg$bounds))
    }
  }
}
